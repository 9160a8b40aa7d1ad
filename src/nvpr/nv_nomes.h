// Names compared without regard to ASCII case, as the Windows switch sees
// file names: equality, and the wildcard match ("*", "?") of directory
// listings, which the text utilities also use with case.
#pragma once

// Equal without regard to ASCII case.
bool NV_NomesIguais(const char* a, const char* b);

// The text matches the pattern: "*" any run of characters (also none), "?"
// one character, everything else itself, with regard to ASCII case when
// `com_caso` is true.
bool NV_CasaCuringa(const char* padrao, const char* texto, bool com_caso);

// The file name matches the pattern without regard to case; the pattern
// "*.*" matches every name, as on Windows.
bool NV_NomeCasa(const char* padrao, const char* nome);
