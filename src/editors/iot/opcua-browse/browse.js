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

// Runs work(i) for i below count, at most `limit` at a time; resolves when all have ended.
async function inParallel(count, limit, work) {
    let next = 0;
    async function worker() {
        while (next < count) await work(next++);
    }
    await Promise.all(Array.from({ length: Math.min(limit, count) }, worker));
}

// A few requests in flight at once hide the round trips without flooding the server.
const IN_FLIGHT = 4;

// The references below each of the nodes, in order: a level of the tree in a few batched
// requests, continuation points followed up together. A round trip per node made a browse of
// 20,000 variables take many seconds.
async function browseLevel(session, nodeIds, batch) {
    const lists = new Array(nodeIds.length);
    await inParallel(Math.ceil(nodeIds.length / batch), IN_FLIGHT, async (c) => {
        const first = c * batch;
        const part = nodeIds.slice(first, first + batch);
        const results = await session.browse(part.map((nodeId) => ({
            nodeId, browseDirection: opcua.BrowseDirection.Forward,
            referenceTypeId: "HierarchicalReferences", includeSubtypes: true,
            nodeClassMask: opcua.NodeClassMask.Object | opcua.NodeClassMask.Variable,
            resultMask: 63,
        })));
        results.forEach((r, k) => {
            lists[first + k] = r.statusCode.isGood() ? [...(r.references || [])] : [];
        });
        let open = [];
        results.forEach((r, k) => {
            if (r.continuationPoint && r.continuationPoint.length) open.push({ k: first + k, point: r.continuationPoint });
        });
        while (open.length) {
            const more = [];
            for (let j = 0; j < open.length; j += batch) {
                const slice = open.slice(j, j + batch);
                const next = await session.browseNext(slice.map((o) => o.point), false);
                next.forEach((r, n) => {
                    const k = slice[n].k;
                    if (r.statusCode.isGood()) lists[k].push(...(r.references || []));
                    if (r.continuationPoint && r.continuationPoint.length) more.push({ k, point: r.continuationPoint });
                });
            }
            open = more;
        }
    });
    return lists;
}

// A server's limit of nodes per request (0: none stated), read from its operation limits.
async function operationLimit(session, nodeId, fallback) {
    try {
        const dv = await session.read({ nodeId, attributeId: opcua.AttributeIds.Value });
        const n = dv.statusCode.isGood() ? Number(dv.value.value) : 0;
        return n > 0 ? Math.min(n, fallback) : fallback;
    } catch (e) {
        return fallback;
    }
}

// The variables below the Objects folder, depth first. The tree is fetched a level at a time,
// then walked depth first over what was fetched, so the list keeps the order of the tree.
async function browseAll(session) {
    const batch = await operationLimit(session, opcua.makeNodeId(
        opcua.VariableIds.Server_ServerCapabilities_OperationLimits_MaxNodesPerBrowse), 500);
    const root = opcua.resolveNodeId("ObjectsFolder");
    const children = new Map();
    const seen = new Set([root.toString()]);
    let level = [root];
    let variables = 0;
    for (let depth = 0; level.length && depth <= MAX_DEPTH && variables < MAX_COUNT; ++depth) {
        const lists = await browseLevel(session, level, batch);
        const next = [];
        level.forEach((nodeId, k) => {
            children.set(nodeId.toString(), lists[k]);
            for (const r of lists[k]) {
                const key = r.nodeId.toString();
                if (seen.has(key)) continue;
                seen.add(key);
                if (r.nodeClass === opcua.NodeClass.Variable) ++variables;
                next.push(r.nodeId);
            }
        });
        level = next;
    }
    const found = [];
    const listed = new Set([root.toString()]);
    function walk(key) {
        for (const r of children.get(key) || []) {
            if (found.length >= MAX_COUNT) return;
            const k = r.nodeId.toString();
            if (listed.has(k)) continue;
            listed.add(k);
            if (r.nodeClass === opcua.NodeClass.Variable) found.push(r);
            walk(k);
        }
    }
    walk(root.toString());
    return found;
}

async function readAttributes(session, refs) {
    // Two attributes per variable.
    const chunk = Math.max(1, Math.floor(await operationLimit(session, opcua.makeNodeId(
        opcua.VariableIds.Server_ServerCapabilities_OperationLimits_MaxNodesPerRead), 2000) / 2));
    const out = new Array(refs.length);
    await inParallel(Math.ceil(refs.length / chunk), IN_FLIGHT, async (c) => {
        const first = c * chunk;
        const part = refs.slice(first, first + chunk);
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
            out[first + k] = v;
        });
    });
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
    else if (req.user_pass_auth_flag === 2) {
        // The client package does not pass the converter on; its crypto package (locked with
        // it) has it.
        const { convertPEMtoDER } = require("node-opcua-crypto");
        identity = { type: opcua.UserTokenType.Certificate, certificateData: convertPEMtoDER(String(req.cert || "")), privateKey: String(req.priv_key || "") };
    }
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
