// Error codes: names, the Windows system error table, errno translation and
// the report of a failed C-library call.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "nvpr/nv_error.h"
#include "nvpr/nv_trace.h"

namespace {

TEST(NomeErro, NamesOfSystemAndOwnCodes) {
  struct Caso {
    int codigo;
    const char* nome;
  };
  const Caso casos[] = {
      {0, "NV_SUCCESS"},          {1, "NV_EPERM"},           {2, "NV_ENOENT"},
      {11, "NV_EAGAIN"},          {40, "NV_ELOOP"},          {41, "NV_ERROR_UNKNOWN"},
      {42, "NV_ENOMSG"},          {57, "NV_EBADSLT"},        {58, "NV_ERROR_UNKNOWN"},
      {59, "NV_EBFONT"},          {95, "NV_EOPNOTSUPP"},     {110, "NV_ETIMEDOUT"},
      {122, "NV_EDQUOT"},         {123, "NV_ERROR_UNKNOWN"}, {300, "NV_ERROR_UNKNOWN"},
      {301, "NV_FINISHED"},       {302, "NV_ERROR_BUFFER_POSITION"},
      {303, "NV_CONTINUE"},       {304, "NV_NOTFOUND"},      {305, "NV_NEGREQUEST"},
      {401, "NV_ABANDONED"},      {402, "NV_ERROR_SHARING_VIOLATION"},
      {403, "NV_WSANOTINITIALISED"}, {500, "NV_EAI_GENERIC"}, {509, "NV_EAI_ADDRFAMILY"},
      {510, "NV_ERROR_UNKNOWN"},  {511, "NV_ERROR_UNKNOWN"}, {512, "NV_EAI_OVERFLOW"},
      {681, "NV_ERROR_UNKNOWN"},  {1000, "NV_ERROR_GENERIC_SOCKET"},
      {1001, "NV_ERROR_GENERIC"}, {1002, "NV_ERROR_UNKNOWN"}, {2000, "NV_ERROR_UNKNOWN"},
      {-1, "NV_ERROR_UNKNOWN"},
  };
  for (const auto& c : casos) EXPECT_STREQ(NV_NomeErro(c.codigo), c.nome) << c.codigo;
}

TEST(NomeErro, EveryClassicCodeIsNamedExcept41And58) {
  // The enumerators follow the numbering of the names.
  EXPECT_EQ(NV_EDEADLK, 35);
  EXPECT_EQ(NV_ENOMSG, 42);
  EXPECT_EQ(NV_EBFONT, 59);
  EXPECT_EQ(NV_EDQUOT, 122);
  for (int c = 1; c <= 122; c++) {
    std::string n = NV_NomeErro(c);
    if (c == 41 || c == 58) EXPECT_EQ(n, "NV_ERROR_UNKNOWN");
    else EXPECT_EQ(n.rfind("NV_E", 0), 0u) << c << " " << n;
  }
}

TEST(ErroSistema, WindowsTable) {
  struct Caso {
    unsigned long sistema;
    int codigo;
  };
  const Caso casos[] = {
      {0, 0},      {1, 22},     {12, 22},   {13, 22},   {87, 22},   {131, 22},
      {2, 2},      {3, 2},      {15, 2},    {18, 2},    {53, 2},    {67, 2},
      {161, 2},    {206, 2},    {4, 24},    {5, 13},    {16, 13},   {33, 13},
      {65, 13},    {82, 13},    {83, 13},   {108, 13},  {132, 13},  {158, 13},
      {167, 13},   {19, 13},    {25, 13},   {36, 13},   {6, 9},     {114, 9},
      {130, 9},    {7, 12},     {8, 12},    {9, 12},    {1816, 12}, {10, 7},
      {11, 8},     {188, 8},    {195, 8},   {202, 8},   {17, 18},   {32, 402},
      {80, 17},    {183, 17},   {89, 11},   {164, 11},  {215, 11},  {104, 4},
      {109, 32},   {112, 28},   {121, 110}, {258, 110}, {1460, 110}, {122, 105},
      {128, 10},   {129, 10},   {145, 39},  {998, 14},  {14, 1001}, {37, 1001},
      {187, 1001}, {203, 1001}, {99999, 1001},
  };
  for (const auto& c : casos) EXPECT_EQ(NV_ErroSistema(c.sistema), c.codigo) << c.sistema;
}

TEST(ErroBiblioteca, LinuxErrnoKeepsTheClassicNumbers) {
  struct Caso {
    int erro;
    int codigo;
  };
  const Caso casos[] = {
      {0, NV_OK},
      {EPERM, NV_EPERM},
      {ENOENT, NV_ENOENT},
      {EAGAIN, NV_EAGAIN},
      {EWOULDBLOCK, NV_EAGAIN},
      {EDEADLOCK, NV_EDEADLK},
      {EEXIST, NV_EEXIST},
      {ENOTDIR, NV_ENOTDIR},
      {ENAMETOOLONG, NV_ENAMETOOLONG},
      {ENOMSG, NV_ENOMSG},
      {ETIMEDOUT, NV_ETIMEDOUT},
      {ECONNREFUSED, NV_ECONNREFUSED},
      {ENOTSUP, NV_EOPNOTSUPP},
      {EDQUOT, NV_EDQUOT},
      {EOWNERDEAD, NV_ABANDONED},
      {ECANCELED, NV_ERROR_GENERIC},
      {-5, NV_ERROR_GENERIC},
      {4000, NV_ERROR_GENERIC},
  };
  for (const auto& c : casos) EXPECT_EQ(NV_ErroBiblioteca(c.erro), c.codigo) << c.erro;
}

// The last record seen by the capturing handler.
struct Capturado {
  int chamadas = 0;
  std::string contexto, tipo, chamada;
  int nivel = 0;
  long erro = 0;
  int linha = 0;
};
Capturado g_cap;

int Captura(const NV_TraceRegistro* r) {
  g_cap.chamadas++;
  g_cap.contexto = r->contexto;
  g_cap.nivel = r->nivel;
  g_cap.linha = r->linha;
  g_cap.tipo = r->vars ? r->vars->tipo : "";
  if (r->vars && std::strcmp(r->vars->tipo, "NV_TRACEMSG_LIBC") == 0) {
    const auto* v = reinterpret_cast<const NV_TraceVarErro*>(r->vars);
    g_cap.chamada = v->chamada;
    g_cap.erro = v->erro;
  }
  EXPECT_STREQ(r->tag, "NV_TRACEMSG");
  return 0;
}

TEST(ReportaErroLibc, BuildsALevel30RecordAndReturnsThePortableCode) {
  g_cap = Capturado{};
  NV_InstalaTratadorTrace(Captura);
  const int linha = __LINE__ + 1;
  int rc = NV_FALHA_LIBC("nvpr/file", "open", ENOENT);
  NV_TraceReinicia();
  EXPECT_EQ(rc, NV_ENOENT);
  EXPECT_EQ(g_cap.chamadas, 1);
  EXPECT_EQ(g_cap.contexto, "nvpr/file");
  EXPECT_EQ(g_cap.nivel, 30);
  EXPECT_EQ(g_cap.tipo, "NV_TRACEMSG_LIBC");
  EXPECT_EQ(g_cap.chamada, "open");
  EXPECT_EQ(g_cap.erro, ENOENT);
  EXPECT_EQ(g_cap.linha, linha);
}

}  // namespace
