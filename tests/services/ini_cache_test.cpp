// The cache itself: changes on disk seen on the next use, files that vanish
// or turn into directories, one parse for threads that need the same file,
// concurrent writers, and the tiers that bound what stays cached.
#include <climits>
#include <filesystem>
#include <thread>
#include <vector>

#include "ini_fixture.h"
#include "nvpr/nv_process.h"
#include "nvpr/nv_time.h"

namespace fs = std::filesystem;

TEST_F(IniTeste, EdicaoDeOutroProgramaVistaNaProximaLeitura) {
  drive.escreve(kRel, "[S]\r\nk=1\r\n");
  ASSERT_EQ(Le("S", "k"), "1");
  drive.escreve(kRel, "[S]\r\nk=22\r\n");                   // size changes
  EXPECT_EQ(Le("S", "k"), "22");
  drive.escreve(kRel, "[S]\r\nk=33\r\n");                   // same size, in place
  fs::last_write_time(drive.caminho(kRel), fs::last_write_time(drive.caminho(kRel)) + std::chrono::seconds(2));
  EXPECT_EQ(Le("S", "k"), "33");
  drive.escreve("kovra/config/novo", "[S]\r\nk=44\r\n");    // replaced by a rename
  fs::rename(drive.caminho("kovra/config/novo"), drive.caminho(kRel));
  EXPECT_EQ(Le("S", "k"), "44");
  uint64_t cargas = Estat().cargas;
  EXPECT_EQ(Le("S", "k"), "44");
  EXPECT_EQ(Estat().cargas, cargas) << "an unchanged file is not parsed again";
}

TEST_F(IniTeste, ArquivoQueSomeAntesDaLeitura) {
  drive.escreve(kRel, "[S]\r\nk=1\r\n");
  ASSERT_EQ(Le("S", "k"), "1");
  drive.escreve(kRel, "[S]\r\nk=2\r\n\r\n");
  // The file goes between the freshness check and the parse.
  cache_ini.gancho_carga = [this](const std::string&) { fs::remove(drive.caminho(kRel)); };
  EXPECT_EQ(Le("S", "k"), "#");
  cache_ini.gancho_carga = nullptr;
  EXPECT_EQ(Lista(nullptr), std::vector<std::string>{});
  drive.escreve(kRel, "[S]\r\nk=3\r\n");
  EXPECT_EQ(Le("S", "k"), "3");
}

TEST_F(IniTeste, ArquivoTrocadoPorDiretorio) {
  drive.escreve(kRel, "[S]\r\nk=1\r\n");
  ASSERT_EQ(Le("S", "k"), "1");
  fs::remove(drive.caminho(kRel));
  fs::create_directories(drive.caminho(kRel));
  EXPECT_EQ(Le("S", "k"), "#");
  EXPECT_EQ(Lista(nullptr), std::vector<std::string>{});
  EXPECT_EQ(GravaIniString("S", "k", "2", kArq), 0);
  EXPECT_TRUE(fs::is_directory(drive.caminho(kRel)));
  EXPECT_TRUE(fs::is_empty(drive.caminho(kRel)));
  std::vector<std::string> nomes;
  for (const auto& e : fs::directory_iterator(drive.caminho("kovra/config")))
    nomes.push_back(e.path().filename().string());
  std::sort(nomes.begin(), nomes.end());
  EXPECT_EQ(nomes, (std::vector<std::string>{".keep", "teste.ini"})) << "no temporary left";
}

TEST_F(IniTeste, DuasThreadsUmaCarga) {
  drive.escreve(kRel, "[S]\r\nk=v\r\n");
  // The first load holds on until the other thread waits for it.
  cache_ini.gancho_carga = [](const std::string&) {
    for (int i = 0; i < 20000 && Estat().esperando == 0; ++i) NV_Sleep(1);
  };
  std::string lido[2];
  std::thread a([&] { lido[0] = Le("S", "k"); });
  std::thread b([&] { lido[1] = Le("S", "k"); });
  a.join();
  b.join();
  cache_ini.gancho_carga = nullptr;
  EXPECT_EQ(lido[0], "v");
  EXPECT_EQ(lido[1], "v");
  EXPECT_EQ(Estat().cargas, 1u);
}

TEST_F(IniTeste, EscritoresConcorrentesNaoPerdemChaves) {
  constexpr int kThreads = 4, kChaves = 8;
  std::vector<std::thread> ts;
  int falhas = 0;
  NV_Mutex mx;
  for (int t = 0; t < kThreads; ++t)
    ts.emplace_back([&, t] {
      for (int i = 0; i < kChaves; ++i) {
        std::string chave = "t" + std::to_string(t) + "_" + std::to_string(i);
        if (GravaIniInt("S", chave.c_str(), t * 100 + i, kArq) != 1) {
          NV_Trava trava(&mx);
          ++falhas;
        }
        Le("S", "t0_0");
      }
    });
  for (auto& t : ts) t.join();
  EXPECT_EQ(falhas, 0);
  ReiniciaCacheIni();
  for (int t = 0; t < kThreads; ++t)
    for (int i = 0; i < kChaves; ++i) {
      std::string chave = "t" + std::to_string(t) + "_" + std::to_string(i);
      EXPECT_EQ(LeIniInt("S", chave.c_str(), -1, kArq), t * 100 + i) << chave;
    }
}

TEST_F(IniTeste, NiveisLimitamOsArquivosGuardados) {
  auto caminho = [](int i) { return "/kovra/config/f" + std::to_string(i) + ".ini"; };
  for (int i = 0; i < 20; ++i) drive.escreve("kovra/config/f" + std::to_string(i) + ".ini", "[S]\r\nk=v\r\n");
  // A change that cannot be written stays pending, and is never dropped.
  ASSERT_EQ(GravaIniString("S", "k", "guardado", "/kovra/semdir/p.ini"), 0);
  for (int i = 0; i < 20; ++i) {
    Le("S", "k", "#", caminho(i).c_str());                 // read twice: frequent
    Le("S", "k", "#", caminho(i).c_str());
  }
  for (int i = 0; i < 20; ++i) Le("S", "ausente", "#", caminho(i).c_str());   // occasional
  EstatisticaIni e = Estat();
  EXPECT_EQ(e.niveis[INI_NIVEL_PENDENTE], 1);
  EXPECT_LE(e.niveis[INI_NIVEL_FREQUENTE], 8);
  EXPECT_LE(e.niveis[INI_NIVEL_RECENTE], 4);
  EXPECT_LE(e.niveis[INI_NIVEL_OCASIONAL], 2);
  EXPECT_EQ(e.arquivos, static_cast<size_t>(e.niveis[0] + e.niveis[1] + e.niveis[2] + e.niveis[3]));
  EXPECT_LE(e.arquivos, 15u);
  EXPECT_EQ(Le("S", "k", "#", "/kovra/semdir/p.ini"), "guardado");
}

TEST_F(IniTeste, FrequentesParadosCedemLugar) {
  auto caminho = [](int i) { return "/kovra/config/f" + std::to_string(i) + ".ini"; };
  for (int i = 0; i < 6; ++i) drive.escreve("kovra/config/f" + std::to_string(i) + ".ini", "[S]\r\nk=v\r\n");
  auto le_duas = [&](int i) {
    Le("S", "k", "#", caminho(i).c_str());
    Le("S", "k", "#", caminho(i).c_str());
  };
  for (int i = 0; i < 5; ++i) le_duas(i);
  ASSERT_EQ(Estat().niveis[INI_NIVEL_FREQUENTE], 5);
  ASSERT_EQ(Estat().niveis[INI_NIVEL_RECENTE], 0);
  NV_RelogioAvanca(6000);
  le_duas(5);   // up to three of the idle files move to recent
  NV_RelogioReal();
  EXPECT_EQ(Estat().niveis[INI_NIVEL_FREQUENTE], 3);
  EXPECT_EQ(Estat().niveis[INI_NIVEL_RECENTE], 3);
}

TEST_F(IniTeste, ContaDeLeiturasParaNoMaximo) {
  drive.escreve(kRel, "[S]\r\nk=v\r\n");
  ASSERT_EQ(Le("S", "k"), "v");
  auto leituras = []() -> int& {
    return cache_ini.arquivos.begin()->second->leituras;
  };
  {
    NV_Trava trava(&cache_ini.mutex);
    leituras() = INT_MAX;   // a file read for weeks without a change
  }
  EXPECT_EQ(Le("S", "k"), "v");
  NV_Trava trava(&cache_ini.mutex);
  EXPECT_EQ(leituras(), INT_MAX);
}

TEST_F(IniTeste, DuasGrafiasDoMesmoArquivo) {
  drive.escreve(kRel, "[S]\r\nk=1\r\n");
  ASSERT_EQ(Le("S", "k", "#", "../config/teste.ini"), "1");
  ASSERT_EQ(Le("S", "k", "#", "\\kovra\\config\\teste.ini"), "1");
  ASSERT_EQ(GravaIniString("S", "k", "2", "../config/teste.ini"), 1);
  EXPECT_EQ(Le("S", "k", "#", "\\kovra\\config\\teste.ini"), "2");
  EXPECT_EQ(Estat().arquivos, 2u);
}
