// The path layer.  The system names its files from the root of the drive
// ("/kovra/./config/conflog.ini"), with backslashes ("\kovra\config\x.ini")
// and relative to the working directory ("../config/kovracfg.ini").  Every
// file operation resolves its path here:
//   - a path beginning with "/" or "\" lies under the drive root, the
//     directory named by KOVRA_DRIVE ("/" when unset; a relative name is
//     taken from the working directory), and ".." never climbs above that
//     root;
//   - "\" becomes "/", empty and "." components are dropped;
//   - a relative path is taken from the working directory;
//   - each component without an exact match is looked up without regard to
//     ASCII case among the entries of its directory; one that does not exist
//     is kept as spelled.
#pragma once
#include <cstddef>
#include <string>

// Resolves `caminho` into `saida` (room bytes, NUL-terminated).  Returns 0,
// 22 for a null or empty path, 36 when the result does not fit.
int NV_ResolveCaminho(const char* caminho, char* saida, size_t room);

// The same into a std::string: 0 or the code as above.
int NV_ResolvePara(const char* caminho, std::string* saida);

// The same into a std::string (for tools and tests); empty on failure.
std::string NV_Caminho(const char* caminho);

// The drive root in use (KOVRA_DRIVE or "/") as an absolute path, without a
// trailing "/" unless it is "/" itself; empty when the working directory
// that a relative KOVRA_DRIVE needs cannot be read.
std::string NV_RaizDrive();
