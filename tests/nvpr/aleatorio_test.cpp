// Per-thread pseudo-random numbers: ranges, the name alphabet, and distinct
// sequences in distinct threads.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <thread>

#include "nvpr/nv_random.h"

namespace {

TEST(Aleatorio, RangesAndAlphabet) {
  EXPECT_EQ(NV_AleatorioAte(0), 0u);
  EXPECT_EQ(NV_AleatorioAte(1), 0u);
  int vistos[7] = {};
  for (int i = 0; i < 2000; i++) {
    uint32_t v = NV_AleatorioAte(7);
    ASSERT_LT(v, 7u);
    vistos[v]++;
  }
  for (int n : vistos) EXPECT_GT(n, 150);   // each of 7 values about 285 times
  const char* alfabeto = "_0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  char buf[4000];
  NV_CaracteresAleatorios(buf, sizeof buf);
  std::set<char> usados(buf, buf + sizeof buf);
  EXPECT_EQ(usados.size(), 63u);
  for (char c : usados) EXPECT_NE(std::strchr(alfabeto, c), nullptr) << c;
}

TEST(Aleatorio, EachThreadHasItsOwnSequence) {
  std::string a(16, ' '), b(16, ' ');
  std::thread t1([&] { NV_CaracteresAleatorios(&a[0], 16); });
  std::thread t2([&] { NV_CaracteresAleatorios(&b[0], 16); });
  t1.join();
  t2.join();
  EXPECT_NE(a, b);
}

}  // namespace
