// The process pieces that run without its queues: the tick's re-read of
// the table-load block, the seed of the network sequence number, the
// start-up recovery rule and the establishment index thread.
#include <cstring>

#include "kovtiquetal/modulo.h"
#include "kovtiquetal/processo.h"
#include "kovtiquetal/registros.h"
#include "modulo_fixture.h"
#include "services/depura.h"
#include "txlog/txlog.h"

namespace {

TEST_F(ModuloTeste, BlockSettingIsReadOnEvery61stTick) {
  drive_.escreve("kovra/config/kovracfg.ini", "[Tiquetal]\nBloqueioDaCargaTabela=3\n");
  for (int i = 0; i < 60; ++i) ExecutaTick();
  EXPECT_EQ(BloqueioDaCargaTabela, 0);
  ExecutaTick();
  EXPECT_EQ(BloqueioDaCargaTabela, 3);
  drive_.escreve("kovra/config/kovracfg.ini", "[Tiquetal]\nBloqueioDaCargaTabela=12\n");
  for (int i = 0; i < 60; ++i) ExecutaTick();
  EXPECT_EQ(BloqueioDaCargaTabela, 3);
  ExecutaTick();
  EXPECT_EQ(BloqueioDaCargaTabela, 12);
}

TEST_F(ModuloTeste, HostMessageTraceShowsItsLengthAndNoCardData) {
  const std::string msg = "0210" "7000000000000000" "165234567890123456" "003000";
  DefineTraceConsole(true);
  testing::internal::CaptureStderr();
  ProcessaMsgHost(reinterpret_cast<const uint8_t*>(msg.data()), msg.size());
  const std::string saida = testing::internal::GetCapturedStderr();
  DefineTraceConsole(false);
  EXPECT_NE(saida.find("RxHost: msg do Host de 44 bytes"), std::string::npos) << saida;
  EXPECT_EQ(saida.find("RxHost - tam:"), std::string::npos) << saida;
  for (const char* trecho : {"789012", "37 38 39 30"}) EXPECT_EQ(saida.find(trecho), std::string::npos) << trecho;
}

TEST(SementeNumSeqRede, HoursAndMinutesOfTheStart) {
  struct Caso {
    const char* hora;
    uint32_t semente;
  } casos[] = {{"10:37:00", 980637}, {"00:00:59", 980000}, {"23:59:59", 981439}};
  for (const Caso& c : casos) EXPECT_EQ(SementeNumSeqRede(c.hora), c.semente) << c.hora;
}

TEST(RecuperaRegistro, SentRecordsOfThisNetworkAreToBeUndone) {
  struct Caso {
    uint8_t rede, estado;
    bool regrava;
  } casos[] = {{77, 1, true}, {77, 2, false}, {77, 6, false}, {55, 1, false}};
  for (const Caso& c : casos) {
    RegistroLog r{};
    r.Rede = c.rede;
    r.Estado = c.estado;
    std::memcpy(r.CodResposta, "96xxxx", 6);
    const int rc = RecuperaRegistroModulo(&r, nullptr, "0315");
    if (c.regrava) {
      EXPECT_EQ(rc, kRecuperaRegrava);
      EXPECT_EQ(r.Estado, 6);
      EXPECT_EQ(0, std::memcmp(r.CodResposta, "00\0\0\0\0\0", 7));
    } else {
      EXPECT_EQ(rc, 0);
      EXPECT_EQ(r.Estado, c.estado);
    }
  }
}

TEST_F(ModuloTeste, EstablishmentIndexFromTheSwitchWideFile) {
  drive_.escreve("kovra/config/Tiquetal.ini",
                 "[Geral]\nCodigoEstabelecimento=111\n[00000002]\nCodigoEstabelecimento=222\n"
                 "[00000003]\nOutra=1\n");
  DefinicaoLog def;
  DefinicaoLogModulo(&def);
  ASSERT_EQ(DefineLog(&def), 0);
  TabEstab(nullptr);
  RegistroLog p{};
  RegistroLogSecundario s{};
  // A registered code reaches the company's log (here: no day file yet);
  // an unknown one answers 1.
  EXPECT_NE(LeLogPorEstabelecimento("111            ", &p, &s, "150001", "0315"), 1);
  EXPECT_NE(LeLogPorEstabelecimento("222            ", &p, &s, "150001", "0315"), 1);
  EXPECT_EQ(LeLogPorEstabelecimento("333            ", &p, &s, "150001", "0315"), 1);
  ReiniciaLog();
}

}  // namespace
