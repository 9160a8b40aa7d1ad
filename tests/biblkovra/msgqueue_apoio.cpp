// Helpers of the message-queue tests.
#include "msgqueue_apoio.h"

Bytes Padrao(size_t n, uint8_t semente) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(semente + i * 7 + (i >> 8));
  return b;
}

std::string CaminhoFila(const char* nome) {
  char c[256];
  EXPECT_EQ(NV_MsgQueueCaminho(nome, c, sizeof c), 0) << nome;
  return c;
}
