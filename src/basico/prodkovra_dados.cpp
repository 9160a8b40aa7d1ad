// The product data record: its fields read back from their little-endian
// bytes.
#include "basico/prodkovra.h"

uint32_t BandeiraDoProduto(const DadosProduto& d) {
  return static_cast<uint32_t>(d.id_bandeira[0]) | static_cast<uint32_t>(d.id_bandeira[1]) << 8 |
         static_cast<uint32_t>(d.id_bandeira[2]) << 16 | static_cast<uint32_t>(d.id_bandeira[3]) << 24;
}

uint16_t IdDoProduto(const DadosProduto& d) {
  return static_cast<uint16_t>(d.id_produto[0] | d.id_produto[1] << 8);
}

uint16_t SubtipoDoProduto(const DadosProduto& d) {
  return static_cast<uint16_t>(d.subtipo[0] | d.subtipo[1] << 8);
}
