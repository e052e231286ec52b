#pragma once
// The known TLS server certificates: up to 10 certificates, each the whole text of one cell,
// with an enable box and a description, one "row" per certificate directly under the root of
// TLS_Known_Cert.xml. The list ends at the first row whose certificate is blank; nothing else
// is checked.

#include "ruleedit/core/URuleTable.h"

namespace zfw {

inline constexpr int kTLSCertRows = 10;

RuleFileSpec tlsKnownCertSpec();

}  // namespace zfw
