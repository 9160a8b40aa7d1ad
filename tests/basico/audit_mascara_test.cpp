// Masking of card data in audit records: the caller's masking list, the
// track 2 and track 1 scans with their bounds, and the masks as the writer
// applies them by kind.
#include <cstdio>
#include <cstring>
#include <vector>

#include "audit_apoio.h"
#include "basico/rot_arqs.h"
#include "basico/rot_arqs_mascara.h"
#include "services/trace.h"

namespace {

// The mask runs over a heap copy of exactly the text's size, so the
// sanitizer sees any read or write past the end.
std::string Aplica(void (*mascara)(uint8_t*, size_t), const std::string& s) {
  std::vector<uint8_t> copia(s.begin(), s.end());
  mascara(copia.data(), copia.size());
  return std::string(copia.begin(), copia.end());
}

TEST(AuditMascara, ListEntriesInsideOrRunningPastTheData) {
  struct Caso {
    MascaraAudit lista[2];
    int num;
    const char* esperado;
  };
  const Caso casos[] = {
      {{{2, 3}}, 1, "01***56789"},
      {{{8, 5}}, 1, "01234567**"},        // cut at the end of the data
      {{{3, 0}}, 1, "0123456789"},        // no length
      {{{10, 2}}, 1, "0123456789"},       // starts past the data
      {{{0, 1}, {9, 1}}, 2, "*12345678*"},
      {{{0, 10}}, 0, "0123456789"},       // empty list
  };
  for (const Caso& c : casos) {
    std::string s = "0123456789";
    AplicaMascarasAudit(reinterpret_cast<uint8_t*>(s.data()), s.size(), c.lista, c.num);
    EXPECT_EQ(s, c.esperado);
  }
  std::string s = "0123";
  AplicaMascarasAudit(reinterpret_cast<uint8_t*>(s.data()), s.size(), nullptr, 3);
  EXPECT_EQ(s, "0123");
}

TEST(AuditMascara, Track2KeepsFirstSixAndLastFourDigits) {
  struct Caso {
    const char* entrada;
    const char* esperado;
  };
  const Caso casos[] = {
      // ISO 8583 text with field 35: a 16-digit card number.
      {"0200B23837" "4111111111111111=25121011234567890123",
       "0200B23837" "411111******1111=2512101******7890123"},
      // Too short for a track: nothing happens, nothing is read past the end.
      {"4111=11111", "4111=11111"},
      // No six digits ten to five before the '=': not a track.
      {"0200B23837" "41111ABCDEF11111=25121011234567890123",
       "0200B23837" "41111ABCDEF11111=25121011234567890123"},
      // A first '=' that is no track does not hide the track after it.
      {"AB=CDEFGHIJ" "5555444433332222=3001101999888777666",
       "AB=CDEFGHIJ" "555544******2222=3001101******777666"},
      // The scan stops 14 characters before the end: an '=' at n - 15 is
      // found (after a 19-digit number), one at n - 14 is not.
      {"0000004444333322221=12345678901234", "000000*********2221=1234567******4"},
      {"0000004444333322221=1234567890123", "0000004444333322221=1234567890123"},
  };
  for (const Caso& c : casos) EXPECT_EQ(Aplica(MascaraTrilha2Audit, c.entrada), c.esperado);
}

// A card number of 13, 16 and 19 digits with its track 2, and how the scan
// must leave it: the first six and last four digits, the separator, the
// expiry date and the service code in clear, six characters of the
// discretionary data hidden.
struct Trilha2 {
  std::string cartao;
  std::string claro;   // the number as the audit may show it
};

const Trilha2 kTrilhas2[] = {
    {"4000001234562", "400000***4562"},
    {"5555444433332226", "555544******2226"},
    {"6062821234567890120", "606282*********0120"},
};

std::string Trilha(const std::string& cartao) { return cartao + "=2512101" "1234567890"; }
std::string TrilhaClara(const std::string& claro) { return claro + "=2512101" "******7890"; }

// The 2-digit length of field 35 and the track.
std::string Campo35(const std::string& trilha) {
  char ll[3];
  std::snprintf(ll, sizeof ll, "%02zu", trilha.size());
  return ll + trilha;
}

TEST(AuditMascara, Track2CardOfAnyLengthKeepsFirstSixAndLastFour) {
  // A 0200 up to field 22, all digits before the length of field 35, and
  // digits after it (fields 41 and 42).
  const std::string antes = "0200" "3238058020C08000" "003000" "000000001500" "0315084200"
                            "000123" "084200" "0315" "051";
  const std::string depois = "00000001" "000000000000077";
  for (const Trilha2& t : kTrilhas2) {
    const std::string trilha = Trilha(t.cartao), clara = TrilhaClara(t.claro);
    struct Caso {
      std::string entrada, esperado;
    };
    const Caso casos[] = {
        // As a PDV sends it, between its sentinels.
        {"PDV req ;" + trilha + "?", "PDV req ;" + clara + "?"},
        // In a host message, digits on both sides.  For the 13-digit number
        // the "31" of the date 0315 makes a 19-digit reading fit as well; the
        // check digit of the number tells them apart.
        {antes + Campo35(trilha) + depois, antes + Campo35(clara) + depois},
        // The last field of a host message.
        {antes + Campo35(trilha), antes + Campo35(clara)},
    };
    for (const Caso& c : casos)
      EXPECT_EQ(Aplica(MascaraTrilha2Audit, c.entrada), c.esperado) << t.cartao;
  }
}

TEST(AuditMascara, Track2OfUnknownLengthHidesAtLeastTheMiddle) {
  // More than 19 digits before the '=' and no field length that fits the
  // track: as if the number had 19 digits, so no shorter one shows more.
  EXPECT_EQ(Aplica(MascaraTrilha2Audit, "X" "99999999" "5555444433332226" "=2512101" "1234567890"),
            "X" "99999999" "555*********2226" "=2512101" "******7890");
  // Lengths 16 ("30") and 17 ("23") fit and both numbers pass the check
  // digit: the longer one.
  EXPECT_EQ(Aplica(MascaraTrilha2Audit, "X" "1230" "5555444433332226" "=2512101" "123456" "77"),
            "X" "1230" "55554*******2226" "=2512101" "******" "77");
  // A 16-digit number whose digits "35" also read as the length of a track
  // with a 13-digit number, and that shorter track ends just before a letter
  // while the true one is followed by a digit: the reading that passes the
  // check digit is taken, and no digit past the first six shows.
  EXPECT_EQ(Aplica(MascaraTrilha2Audit, "X00" "37" "4350000000000008" "=25122010000012345678" "1ABCDEF"),
            "X00" "37" "435000******0008" "=2512201******2345678" "1ABCDEF");
}

TEST(AuditMascara, Track1HidesTheCardMiddleAndPartOfTheName) {
  struct Caso {
    const char* entrada;
    const char* esperado;
  };
  const Caso casos[] = {
      {"020045B4111111111111111^SILVA/JOAO^2512101000000000",
       "020045B411111******1111^SILVnnnnnO^2512101000000000"},
      // A two-character name: the mask would reach the separator, which stays.
      {"020045B4111111111111111^AB^25121010000000000000",
       "020045B411111******1111^AB^25121010000000000000"},
      // Digits and spaces before the '^' both count.
      {"0200451234567890123    ^NOME DO CLIENTE^2512101000000000",
       "0200451234567******    ^NOME DnnnnnnnTE^2512101000000000"},
      // No second '^': only the card number is hidden.
      {"020045B4111111111111111^SEM FIM 2512101000000000",
       "020045B411111******1111^SEM FIM 2512101000000000"},
      {"B41111^AB^", "B41111^AB^"},
      // After the format code "B", numbers of 13 and 19 digits, and one
      // written with spaces, keep their first six and last four digits.
      {"020076B4000001234562^SILVA/JOAO^2512101000000000",
       "020076B400000***4562^SILVnnnnnO^2512101000000000"},
      {"020076B6062821234567890120^SILVA/JOAO^2512101000000000",
       "020076B606282*********0120^SILVnnnnnO^2512101000000000"},
      {"%B5555 4444 3333 2226^SILVA/JOAO^2512101000000000",
       "%B5555 44** **** 2226^SILVnnnnnO^2512101000000000"},
  };
  for (const Caso& c : casos) EXPECT_EQ(Aplica(MascaraTrilha1Audit, c.entrada), c.esperado);
}

TEST(AuditMascara, Field2OfAHostMessageKeepsFirstSixAndLastFour) {
  struct Caso {
    const char* entrada;
    size_t inicio;
    const char* esperado;
  };
  const Caso casos[] = {
      // Bit 1 (secondary bitmap) and bit 2 set: field 2 after 36 characters.
      {"0202C000000000000000" "0000000000000000" "165555444433332222" "003000",
       0, "0202C000000000000000" "0000000000000000" "16555544******2222" "003000"},
      // Primary bitmap only.
      {"04204000000000000000" "134111111111111" "00", 0,
       "04204000000000000000" "13411111***1111" "00"},
      // After the 9 bytes of the link envelope.
      {"\x7fHHHHHHHH" "0210" "E000000000000000" "0000000000000000" "194111111111111111111", 9,
       "\x7fHHHHHHHH" "0210" "E000000000000000" "0000000000000000" "19411111*********1111"},
      // A short number is hidden whole.
      {"04004000000000000000" "0812345678", 0, "04004000000000000000" "08********"},
      // No field 2, a length past the end, not a message: untouched.
      {"02008000000000000000" "0000000000000000" "165555444433332222", 0,
       "02008000000000000000" "0000000000000000" "165555444433332222"},
      {"04204000000000000000" "1941111", 0, "04204000000000000000" "1941111"},
      {"0420400000000000000G" "134111111111111", 0, "0420400000000000000G" "134111111111111"},
      {"0420", 0, "0420"},
      {"0420", 9, "0420"},
  };
  for (const Caso& c : casos) {
    std::vector<uint8_t> copia(c.entrada, c.entrada + std::strlen(c.entrada));
    MascaraCamposHostAudit(copia.data(), copia.size(), c.inicio);
    EXPECT_EQ(std::string(copia.begin(), copia.end()), c.esperado);
  }
}

// A 0200 with fields 2, 3, 4, 32 (the card's first 11 digits) and 35, and
// a 0420 with fields 1, 3, 32 and 90 (whose original data repeat field 32).
const std::string k0200 = "0200" "7000000120000000" "16" "5555444433332226" "003000"
                          "000000001500" "11" "55554444333" "37"
                          "5555444433332226=25122010000012345678";
const std::string k0420 = "0420" "A000000100000000" "0000004000000000" "003000" "11" "60628212345"
                          "0200" "000123" "0315" "084200" "60628212345" "00000000000";

TEST(AuditMascara, AcquirerCodeOfAHostMessageKeepsOnlyTheFirstSix) {
  struct Caso {
    std::string entrada;
    size_t inicio;
    std::string esperado;
  };
  const Caso casos[] = {
      // Alone, the walk also finds the card's first 11 digits in the track;
      // the writer has masked the track before (see below).
      {k0200, 0,
       "0200" "7000000120000000" "16" "555544******2226" "003000" "000000001500" "11"
       "555544*****" "37" "555544*****32226=25122010000012345678"},
      {"HDR" + k0420, 3,
       "HDR" "0420" "A000000100000000" "0000004000000000" "003000" "11" "606282*****"
       "0200" "000123" "0315" "084200" "606282*****" "00000000000"},
      // Six digits or fewer are left as they are, and so is a code that is
      // not digits or runs past the data.
      {"0202" "2000000100000000" "003000" "06" "606282", 0,
       "0202" "2000000100000000" "003000" "06" "606282"},
      {"0202" "2000000100000000" "003000" "11" "6062821234X", 0,
       "0202" "2000000100000000" "003000" "11" "6062821234X"},
      {"0202" "2000000100000000" "003000" "11" "6062821", 0,
       "0202" "2000000100000000" "003000" "11" "6062821"},
      // Field 3 cut short: the walk stops before field 32.
      {"0202" "2000000100000000" "0030", 0, "0202" "2000000100000000" "0030"},
  };
  for (const Caso& c : casos) {
    std::vector<uint8_t> copia(c.entrada.begin(), c.entrada.end());
    MascaraCamposHostAudit(copia.data(), copia.size(), c.inicio);
    EXPECT_EQ(std::string(copia.begin(), copia.end()), c.esperado);
  }
}

// A 0200 with fields 3, 4, 41, 48 and 55 (a 3-digit length each for 48 and
// 55), the chip data objects of field 55 given.
std::string Com55(const std::string& chip, const std::string& campo48 = "005ABCDE") {
  char lll[4];
  std::snprintf(lll, sizeof lll, "%03zu", chip.size());
  return "0200" "3000000000810200" "003000" "000000001500" "PDV00001" + campo48 + lll + chip;
}

TEST(AuditMascara, ChipDataOfField55KeepOnlyFirstSixAndLastFour) {
  // A cryptogram, the card number (5A), the card sequence number, the track
  // 2 equivalent data (57), and inside a template (70) the contactless
  // track (9F6B).
  const std::string chip = "9F26081122334455667788" "5A085555444433332226" "5F340101"
                           "5711" "5555444433332226D25122010000012345"
                           "7013" "9F6B10" "6062821234567890D251220112345678";
  const std::string claro = "9F26081122334455667788" "5A08555544******2226" "5F340101"
                            "5711" "555544******2226D2512201******2345"
                            "7013" "9F6B10" "606282******7890D2512201******78";
  struct Caso {
    std::string entrada, esperado;
  };
  const Caso casos[] = {
      {Com55(chip), Com55(claro)},
      // A long length form (81) and a number padded with 'F'.
      {Com55("5A81083333222211110000FF"), Com55("5A8108333322******0000FF")},
      // An object that runs past the field ends the walk: what came before
      // is masked, nothing after it is read.
      {Com55("5A085555444433332226" "5A09555544443333"),
       Com55("5A08555544******2226" "5A09555544443333")},
      // A field 48 that claims more than the message holds: field 55 is not
      // reached and the message is left as it is.
      {Com55(chip, "900ABCDE"), Com55(chip, "900ABCDE")},
  };
  for (const Caso& c : casos) {
    std::vector<uint8_t> copia(c.entrada.begin(), c.entrada.end());
    MascaraCamposHostAudit(copia.data(), copia.size(), 0);
    EXPECT_EQ(std::string(copia.begin(), copia.end()), c.esperado);
  }
}

using AuditMascaraGravada = AuditTeste;

TEST_F(AuditMascaraGravada, WriterMasksTracksOfMessageKindsAndTheListOfAnyKind) {
  const std::string trilha = "0200B23837" "4111111111111111=25121011234567890123";
  const std::string mascarada = "0200B23837" "411111******1111=2512101******7890123";
  ASSERT_EQ(AbreAudit(), 0);
  for (uint8_t tipo : {50, 51, 52, 0}) GravaTexto(tipo, trilha);
  const std::string advice = "0202C000000000000000" "0000000000000000" "165555444433332222";
  GravaTexto(51, advice);
  GravaTexto(52, "123456789" + advice);
  GravaTexto(50, advice);
  const std::string cartao = "cartao 5555444433332222 fim";
  const MascaraAudit lista[] = {{7, 16}};
  GravaAudit(49, cartao.data(), cartao.size(), lista, 1, nullptr, 0);
  auto v = Le("kovra/audit/03150842.077");
  ASSERT_EQ(v.size(), 8u);
  EXPECT_EQ(v[0].dados, mascarada);
  EXPECT_EQ(v[1].dados, mascarada);
  EXPECT_EQ(v[2].dados, mascarada);
  EXPECT_EQ(v[3].dados, trilha);   // an operational text is not scanned
  const std::string advice_mascarada =
      "0202C000000000000000" "0000000000000000" "16555544******2222";
  EXPECT_EQ(v[4].dados, advice_mascarada);
  EXPECT_EQ(v[5].dados, "123456789" + advice_mascarada);
  EXPECT_EQ(v[6].dados, advice);   // a PDV request is no host message
  EXPECT_EQ(v[7].dados, "cartao **************** fim");
}

TEST_F(AuditMascaraGravada, HostMessagesKeepOnlyFirstSixAndLastFourAnywhere) {
  ASSERT_EQ(AbreAudit(), 0);
  GravaTexto(51, k0200);
  GravaTexto(52, "123456789" + k0420);
  auto v = Le("kovra/audit/03150842.077");
  ASSERT_EQ(v.size(), 2u);
  EXPECT_EQ(v[0].dados, "0200" "7000000120000000" "16" "555544******2226" "003000"
                        "000000001500" "11" "555544*****" "37"
                        "555544******2226=2512201******2345678");
  EXPECT_EQ(v[1].dados, "123456789" "0420" "A000000100000000" "0000004000000000" "003000" "11"
                        "606282*****" "0200" "000123" "0315" "084200" "606282*****"
                        "00000000000");
}

}  // namespace
