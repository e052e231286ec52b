// Browse helper of the OPC UA client editor. Reads one JSON line with the server's settings on
// standard input, browses the server's Objects folder depth first for Variables, and prints
// {"count":N} followed by one JSON line per variable, or {"error":"..."} on failure.
// The certificate store is the folder named by OPCUA_PKI_DIR (the program's data folder).
"use strict";

// The client library logs through the console; only the answer may reach standard output.
for (const k of ["log", "info", "warn", "debug", "trace"])
    console[k] = (...args) => process.stderr.write(args.map(String).join(" ") + "\n");

const opcua = require("node-opcua");

const MAX_DEPTH = Number(process.env.OPCUA_BROWSE_MAX_DEPTH || 16);
const MAX_COUNT = Number(process.env.OPCUA_BROWSE_MAX_COUNT || 200000);

function fail(message) {
    process.stdout.write(JSON.stringify({ error: String(message) }) + "\n", () => process.exit(1));
}

function readInput() {
    return new Promise((resolve, reject) => {
        let data = "";
        process.stdin.setEncoding("utf8");
        process.stdin.on("data", (c) => { data += c; if (data.length > 1 << 20) reject(new Error("input too long")); });
        process.stdin.on("end", () => resolve(data));
        process.stdin.on("error", reject);
    });
}

const MODES = [opcua.MessageSecurityMode.None, opcua.MessageSecurityMode.Sign,
               opcua.MessageSecurityMode.SignAndEncrypt];
// Positions of the program's policy list; null where the client no longer offers the policy.
const POLICIES = [opcua.SecurityPolicy.None, null, null, opcua.SecurityPolicy.Basic256Sha256,
                  opcua.SecurityPolicy.Aes128_Sha256_RsaOaep, opcua.SecurityPolicy.Aes256_Sha256_RsaPss];
const POLICY_NAMES = ["None", "Basic 128 RSA 15", "Basic 256", "Basic 256 SHA 256",
                      "AES 128 SHA 256 RSA OAEP", "AES 256 SHA 256 RSA PSS"];

function identifierOf(nodeId) {
    const v = { ns: nodeId.namespace, idType: 0 };
    switch (nodeId.identifierType) {
    case opcua.NodeIdType.NUMERIC: v.idType = 0; v.numeric = nodeId.value; break;
    case opcua.NodeIdType.STRING: v.idType = 3; v.string = nodeId.value; break;
    case opcua.NodeIdType.GUID: v.idType = 4; v.guid = String(nodeId.value); break;
    case opcua.NodeIdType.BYTESTRING: v.idType = 5; v.byteString = Buffer.from(nodeId.value).toString("base64"); break;
    default: v.idType = 0;
    }
    return v;
}

async function browseAll(session) {
    const found = [];
    const seen = new Set();
    async function visit(nodeId, depth) {
        if (depth > MAX_DEPTH || found.length >= MAX_COUNT) return;
        let refs = [];
        let result = await session.browse({
            nodeId, browseDirection: opcua.BrowseDirection.Forward,
            referenceTypeId: "HierarchicalReferences", includeSubtypes: true,
            nodeClassMask: opcua.NodeClassMask.Object | opcua.NodeClassMask.Variable,
            resultMask: 63,
        });
        refs = refs.concat(result.references || []);
        while (result.continuationPoint && result.continuationPoint.length) {
            const next = await session.browseNext(result.continuationPoint, false);
            result = next;
            refs = refs.concat(next.references || []);
        }
        for (const r of refs) {
            const key = r.nodeId.toString();
            if (seen.has(key)) continue;
            seen.add(key);
            if (r.nodeClass === opcua.NodeClass.Variable && found.length < MAX_COUNT)
                found.push(r);
            await visit(r.nodeId, depth + 1);
            if (found.length >= MAX_COUNT) return;
        }
    }
    await visit(opcua.resolveNodeId("ObjectsFolder"), 0);
    return found;
}

async function readAttributes(session, refs) {
    const out = [];
    const CHUNK = 1000;
    for (let i = 0; i < refs.length; i += CHUNK) {
        const part = refs.slice(i, i + CHUNK);
        const nodes = [];
        for (const r of part) {
            nodes.push({ nodeId: r.nodeId, attributeId: opcua.AttributeIds.DataType });
            nodes.push({ nodeId: r.nodeId, attributeId: opcua.AttributeIds.AccessLevel });
        }
        const values = await session.read(nodes);
        part.forEach((r, k) => {
            const dt = values[2 * k].value && values[2 * k].value.value;
            const al = values[2 * k + 1].value && values[2 * k + 1].value.value;
            const v = identifierOf(r.nodeId);
            // Built-in types 1 to 15 become 0 to 14; anything else stays outside that range.
            const builtIn = dt && dt.namespace === 0 && typeof dt.value === "number" ? dt.value : 0;
            v.dataType = builtIn >= 1 && builtIn <= 15 ? builtIn - 1 : -1;
            v.accessLevel = (typeof al === "number" ? al : 0) & 3;
            v.displayName = r.displayName && r.displayName.text ? r.displayName.text : r.browseName.name || "";
            out.push(v);
        });
    }
    return out;
}

async function main() {
    const req = JSON.parse((await readInput()).split("\n")[0] || "{}");
    const address = String(req.server_address || "");
    if (!address) return fail("No server address");
    const mode = MODES[req.security_type] ?? MODES[2];
    const policyIndex = Number.isInteger(req.security_policy) && req.security_policy >= 0 && req.security_policy <= 5 ? req.security_policy : 5;
    const policy = POLICIES[policyIndex];
    if (policy === null)
        return fail(`The security policy "${POLICY_NAMES[policyIndex]}" is no longer supported; choose another one`);
    const pkiRoot = process.env.OPCUA_PKI_DIR;
    const options = {
        applicationName: "ZFW OPC UA Browse",
        connectionStrategy: { maxRetry: 0, initialDelay: 100, maxDelay: 200 },
        securityMode: mode === opcua.MessageSecurityMode.None ? opcua.MessageSecurityMode.None : mode,
        securityPolicy: mode === opcua.MessageSecurityMode.None ? opcua.SecurityPolicy.None : policy,
        endpointMustExist: false,
        requestedSessionTimeout: 60000,
    };
    if (pkiRoot) {
        options.clientCertificateManager = new opcua.OPCUACertificateManager({ rootFolder: pkiRoot, automaticallyAcceptUnknownCertificate: true });
    }
    const client = opcua.OPCUAClient.create(options);
    client.on("backoff", () => {});
    await client.connect(address);
    let identity = { type: opcua.UserTokenType.Anonymous };
    if (req.user_pass_auth_flag === 1)
        identity = { type: opcua.UserTokenType.UserName, userName: String(req.username || ""), password: String(req.password || "") };
    else if (req.user_pass_auth_flag === 2)
        identity = { type: opcua.UserTokenType.Certificate, certificateData: opcua.convertPEMtoDER(String(req.cert || "")), privateKey: String(req.priv_key || "") };
    const session = await client.createSession(identity);
    const refs = await browseAll(session);
    const vars = await readAttributes(session, refs);
    const lines = [JSON.stringify({ count: vars.length })];
    for (const v of vars) lines.push(JSON.stringify(v));
    await new Promise((resolve) => process.stdout.write(lines.join("\n") + "\n", resolve));
    try { await session.close(); await client.disconnect(); } catch (e) { /* the answer is out */ }
    process.exit(0);
}

main().catch((e) => fail(e && e.message ? e.message : e));
