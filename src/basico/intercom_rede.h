// The module's network code, by which it names itself on the PDV link, the
// host link, the transaction log, the audit trail and the brand registry.
// Written as three digits ("077") where a text form is needed.
#pragma once

inline constexpr int CodigoRede = 77;
