// The module core's test fixture.
#include "modulo_fixture.h"

#include <cstring>

#include "basico/intercom.h"
#include "basico/interpdv.h"
#include "kovtiquetal/modulo.h"
#include "services/ini.h"
#include "services/trace.h"
#include "support/spool.h"

namespace {

std::vector<Bytes> g_respostas;
std::vector<Bytes> g_envios_host;

void CapturaResposta(const uint8_t* m, size_t n) { g_respostas.emplace_back(m, m + n); }

void CapturaHost(uint8_t tipo, const uint8_t* rota, const uint8_t* p, size_t n) {
  Bytes e = {tipo};
  e.insert(e.end(), rota, rota + 8);
  e.insert(e.end(), p, p + n);
  g_envios_host.push_back(e);
}

void Reinicia() {
  ReiniciaModulo();
  ReiniciaInterPdv();
  ReiniciaInterCom();
  ReiniciaTrace();
  ReiniciaCacheIni();
  g_respostas.clear();
  g_envios_host.clear();
}

}  // namespace

std::vector<Bytes>& ModuloTeste::Respostas() { return g_respostas; }

std::vector<Bytes>& ModuloTeste::EnviosHost() { return g_envios_host; }

void ModuloTeste::SetUp() {
  Reinicia();
  DesviaRespostaPdv(CapturaResposta);
  DesviaEnvioHost(CapturaHost);
}

void ModuloTeste::TearDown() { Reinicia(); }

int ModuloTeste::ContaLinhas(const std::string& trecho) const {
  int n = 0;
  for (const std::string& l : LinhasSpoolMensagem(drive_))
    if (l.find(trecho) != std::string::npos) ++n;
  return n;
}

Bytes PedidoPdv(uint8_t tipo, uint8_t subtipo, const Bytes& dados, uint16_t formato) {
  Bytes m(30, 0);
  m[0] = static_cast<uint8_t>(formato & 0xFF);
  m[1] = static_cast<uint8_t>(formato >> 8);
  m[2] = tipo;
  m[3] = subtipo;
  std::memcpy(m.data() + 4, "TERM0001", 8);
  std::memcpy(m.data() + 12, "042", 3);
  m[15] = 7;
  std::memcpy(m.data() + 16, "\x01\x02\x03\x04", 4);
  std::memcpy(m.data() + 20, "00000001", 8);
  m[28] = static_cast<uint8_t>(dados.size() & 0xFF);
  m[29] = static_cast<uint8_t>(dados.size() >> 8);
  m.insert(m.end(), dados.begin(), dados.end());
  return m;
}

Bytes Strings(const std::vector<std::string>& strings) {
  Bytes b;
  for (const auto& s : strings) {
    b.insert(b.end(), s.begin(), s.end());
    b.push_back(0);
  }
  return b;
}

Bytes Texto(const std::string& s) { return Bytes(s.begin(), s.end()); }
