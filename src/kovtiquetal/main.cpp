// kovtiquetal: the Tiquetal authorisation module, a console process that
// the switch starts.  Command-line arguments are ignored.
#include "kovtiquetal/processo.h"

int main() { return ExecutaModulo(); }
