// Run-time internal: file names compared without regard to ASCII case, as
// the Windows switch sees them: equality and wildcard match ("*", "?").
#pragma once

// Equal without regard to ASCII case.
bool NV_NomesIguais(const char* a, const char* b);

// The name matches the pattern: "*" any run of characters, "?" one
// character, everything else itself without regard to ASCII case.  The
// pattern "*.*" matches every name, as on Windows.
bool NV_NomeCasa(const char* padrao, const char* nome);
