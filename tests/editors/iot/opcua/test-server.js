// Test OPC UA server for the browse tests: listens on 127.0.0.1 only, on the port given (0: any
// free one), prints "ENDPOINT <url>" once it listens, and runs until it is ended.
// Arguments: <pki folder> [variable count]
"use strict";

const path = require("path");
const opcua = require("node-opcua");

const pki = process.argv[2];
const extra = Number(process.argv[3] || 0);

async function main() {
    const certificateManager = new opcua.OPCUACertificateManager({
        rootFolder: path.join(pki, "server"), automaticallyAcceptUnknownCertificate: true });
    const userCertificateManager = new opcua.OPCUACertificateManager({
        rootFolder: path.join(pki, "user"), automaticallyAcceptUnknownCertificate: true });
    const server = new opcua.OPCUAServer({
        port: 0,
        host: "127.0.0.1",
        serverCertificateManager: certificateManager,
        userCertificateManager,
        securityModes: [opcua.MessageSecurityMode.None, opcua.MessageSecurityMode.Sign,
                        opcua.MessageSecurityMode.SignAndEncrypt],
        securityPolicies: [opcua.SecurityPolicy.None, opcua.SecurityPolicy.Basic256Sha256],
        allowAnonymous: true,
        userManager: { isValidUser: (u, p) => u === "operator" && p === "s3cret" },
    });
    await server.initialize();
    const ns = server.engine.addressSpace.getOwnNamespace();
    const folder = ns.addFolder(server.engine.addressSpace.rootFolder.objects, { browseName: "Plant", nodeId: "s=Plant" });
    const types = ["Boolean", "SByte", "Byte", "Int16", "UInt16", "Int32", "UInt32", "Int64",
                   "UInt64", "Float", "Double", "String", "DateTime", "Guid", "ByteString"];
    types.forEach((t, i) => {
        ns.addVariable({ componentOf: folder, browseName: "V_" + t, nodeId: "i=" + (50000 + i),
                         dataType: t, accessLevel: "CurrentRead | CurrentWrite",
                         userAccessLevel: "CurrentRead | CurrentWrite" });
    });
    ns.addVariable({ componentOf: folder, browseName: "ById_String", nodeId: "s=Tank.Level",
                     dataType: "Double", accessLevel: "CurrentRead" });
    ns.addVariable({ componentOf: folder, browseName: "ById_Guid",
                     nodeId: "g=A1B2C3D4-E5F6-A7B8-C9D0-E1F2A3B4C5D6", dataType: "Int32",
                     accessLevel: "CurrentWrite" });
    ns.addVariable({ componentOf: folder, browseName: "ById_Bytes", nodeId: "b=AAEC",
                     dataType: "Int16", accessLevel: "CurrentRead | CurrentWrite" });
    if (extra > 0) {
        // Adding a child costs time in proportion to the children its folder already has, so
        // the many variables go into small folders: 20,000 take a few seconds, not minutes.
        const perFolder = 100;
        const big = ns.addFolder(folder, { browseName: "Many", nodeId: "s=Many" });
        for (let first = 0; first < extra; first += perFolder) {
            const part = ns.addFolder(big, { browseName: "Many" + first / perFolder,
                                             nodeId: "s=Many." + first / perFolder });
            for (let i = first; i < Math.min(extra, first + perFolder); ++i)
                ns.addVariable({ componentOf: part, browseName: "M" + i,
                                 nodeId: "i=" + (200000 + i), dataType: "Int32",
                                 accessLevel: "CurrentRead" });
        }
    }
    await server.start();
    process.stdout.write("ENDPOINT " + server.getEndpointUrl().replace(/\/\/[^:/]+:/, "//127.0.0.1:") + "\n");
}

main().catch((e) => { process.stderr.write(String(e && e.stack || e) + "\n"); process.exit(1); });
