// One line of a multi-brand file: "network;kind;routing network;".
#pragma once
#include "basico/prodkovra_tabelas.h"

// The routing network that the line gives for the product: 0 when the line
// has fewer than three ";", a field is not a number, the translated network
// is not the product's brand, or the kind is not accepted for the product's
// kind.  The network numbers 4, 7, 23, 51, 53, 60 and 61 of the files stand
// for the brands 1, 4, 21, 50, 52, 65 and 5.
int RedeDaLinhaMulti(const char* valor, const ProdutoRede& produto);
