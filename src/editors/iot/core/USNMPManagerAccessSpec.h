#pragma once
// The SNMP manager's requests: one "row" per request directly under the root of
// SNMP_Manager.xml, up to 512. Each names an agent, the SNMP version with its credentials, an
// object identifier, the kind of request, when it is sent and where its data lives in the
// internal data array. The list ends at the first row whose IP Address is blank.
//
// The check: the address, the identifier's syntax, timer, byte count and conversion of every
// enabled request, the SNMPv3 modes its security level needs; then no two enabled requests
// with the same address, version and identifier; then the total length of the texts the
// gateway keeps for them.

#include "ruleedit/core/URuleTable.h"

namespace zfw {

inline constexpr int kSNMPManagerRules = 512;
// Room the gateway has for the identifiers and SNMPv3 credentials of all requests.
inline constexpr int kSNMPManagerTextRoom = 47104;
// Bytes of the internal data array a request can point into.
inline constexpr int kSNMPManagerPositions = 1440;

RuleFileSpec snmpManagerSpec();

// What the gateway keeps for the enabled requests of the rule list: 1, plus for each the
// length + 1 of its OID when not empty and, for version 3, of its User and (by the security
// level) Auth Pass and Priv Pass when not empty. The community name does not count.
qint64 snmpManagerTextTotal(const RuleTable& table);

}  // namespace zfw
