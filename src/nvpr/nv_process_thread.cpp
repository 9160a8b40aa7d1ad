// Threads with optional copied user data, sleeps, time differences and the
// per-thread data block.  A thread that will not be joined owns its own
// record and frees it when it ends; a joined one is freed by the join.
#include <chrono>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

#include "nvpr/nv_error.h"
#include "nvpr/nv_process.h"

struct NV_ThreadImpl {
  std::thread th;
  NV_FuncaoThread funcao = nullptr;
  const void* dados = nullptr;
  std::vector<unsigned char> copia;   // the caller's data when tam > 0
  int resultado = 0;
};

namespace {

thread_local NV_DadosThread t_dados;

void Executa(NV_ThreadImpl* p) {
  p->resultado = p->funcao(const_cast<void*>(p->dados));
}

}  // namespace

NV_DadosThread* NV_DadosDaThread() { return &t_dados; }

int NV_ThreadStart(NV_Thread* t, NV_FuncaoThread funcao, const void* dados, size_t tam,
                   bool juntar) {
  if (t == nullptr || funcao == nullptr || (tam > 0 && dados == nullptr)) return NV_EINVAL;
  t->impl = nullptr;
  auto impl = std::make_unique<NV_ThreadImpl>();
  impl->funcao = funcao;
  impl->dados = dados;
  if (tam > 0) {
    impl->copia.assign(static_cast<const unsigned char*>(dados),
                       static_cast<const unsigned char*>(dados) + tam);
    impl->dados = impl->copia.data();
  }
  NV_ThreadImpl* p = impl.get();
  try {
    if (juntar) {
      p->th = std::thread(Executa, p);
      t->impl = impl.release();
    } else {
      std::thread th([p] {
        std::unique_ptr<NV_ThreadImpl> dono(p);
        Executa(p);
      });
      impl.release();   // the thread owns it now
      th.detach();
    }
  } catch (const std::system_error& e) {
    return NV_FALHA_LIBC("nvpr/process", "pthread_create", e.code().value());
  }
  return NV_OK;
}

int NV_ThreadJoin(NV_Thread* t, int* resultado) {
  if (t == nullptr || t->impl == nullptr) return NV_EINVAL;
  NV_ThreadImpl* p = t->impl;
  if (p->th.get_id() == std::this_thread::get_id()) return NV_EDEADLK;
  try {
    p->th.join();
  } catch (const std::system_error& e) {
    return NV_FALHA_LIBC("nvpr/process", "pthread_join", e.code().value());
  }
  std::unique_ptr<NV_ThreadImpl> dono(p);
  t->impl = nullptr;
  if (resultado) *resultado = p->resultado;
  return NV_OK;
}

int NV_Sleep(int64_t ms) {
  if (ms <= 0) std::this_thread::yield();
  else std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  return NV_OK;
}

int64_t NV_DiferencaTempo(int64_t anterior, int64_t posterior, int unidade) {
  static constexpr int64_t kDivisor[] = {0, 1, 1000, 1000000, 1000000000};
  if (unidade < NV_UNID_NS || unidade > NV_UNID_S) return 0;
  return (posterior - anterior) / kDivisor[unidade];
}
