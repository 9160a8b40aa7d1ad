// Building one mirror record: the header with the local time of the write,
// then the primary record and the secondary record's ranges as stored.
#include "basico/espelho_registro.h"

#include <cstring>

#include "basico/rot_arqs_bytes.h"
#include "nvpr/nv_error.h"
#include "nvpr/nv_time.h"

namespace {

// Days from 1970-01-01 of a civil date (proleptic Gregorian).
int64_t DiasCivis(int64_t a, int m, int d) {
  a -= m <= 2;
  const int64_t era = (a >= 0 ? a : a - 399) / 400;
  const int64_t ano_era = a - era * 400;
  const int64_t dia_ano = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t dia_era = ano_era * 365 + ano_era / 4 - ano_era / 100 + dia_ano;
  return era * 146097 + dia_era - 719468;
}

int64_t SegundosCivis(const NV_DataHora& dh) {
  return DiasCivis(dh.ano, dh.mes, dh.dia) * 86400 + dh.hora * 3600 + dh.minuto * 60 + dh.segundo;
}

// Local time minus UTC at an instant, in seconds.
int64_t DesvioLocal(int64_t epoch_seg) {
  NV_DataHora local{}, utc{};
  NV_ConverteHora(epoch_seg, false, &local);
  NV_ConverteHora(epoch_seg, true, &utc);
  return SegundosCivis(local) - SegundosCivis(utc);
}

// Daylight saving is in force when the offset now is above the smaller of
// the offsets of January and July (the standard time of the zone).
int HorarioVerao(int64_t epoch_seg, const NV_DataHora& local) {
  const int64_t janeiro = epoch_seg - static_cast<int64_t>(local.dia_ano) * 86400;
  const int64_t julho = janeiro + 181 * 86400;
  const int64_t dj = DesvioLocal(janeiro), dl = DesvioLocal(julho);
  const int64_t padrao = dj < dl ? dj : dl;
  return DesvioLocal(epoch_seg) > padrao ? 1 : 0;
}

// A fixed field: the text's characters up to its width, the rest `vazio`.
void Campo(char* campo, size_t largura, const char* texto, char vazio) {
  std::memset(campo, vazio, largura);
  if (texto != nullptr) std::memcpy(campo, texto, strnlen(texto, largura));
}

// Walks the secondary record's ranges, each cut to the record, and returns
// the bytes they add; with `saida` also copies them there, in their order.
size_t Faixas(const FaixasEspelho* faixas, const uint8_t* sec, size_t tam_secundario,
              uint8_t* saida) {
  size_t soma = 0;
  int n = faixas->quantidade < kMaxFaixasEspelho ? faixas->quantidade : kMaxFaixasEspelho;
  for (int i = 0; i < n; ++i) {
    const FaixaEspelho& f = faixas->faixas[i];
    if (f.tamanho <= 0 || f.inicio < 0 || static_cast<size_t>(f.inicio) >= tam_secundario)
      continue;
    size_t t = static_cast<size_t>(f.tamanho);
    if (t > tam_secundario - f.inicio) t = tam_secundario - f.inicio;
    if (saida != nullptr) std::memcpy(saida + soma, sec + f.inicio, t);
    soma += t;
  }
  return soma;
}

}  // namespace

void HoraEspelho(int64_t epoch_seg, uint8_t saida[36]) {
  NV_DataHora dh{};
  NV_ConverteHora(epoch_seg, false, &dh);
  const int campos[9] = {dh.segundo,      dh.minuto,     dh.hora,
                         dh.dia,          dh.mes - 1,    dh.ano - 1900,
                         dh.dia_semana,   dh.dia_ano,    HorarioVerao(epoch_seg, dh)};
  for (int i = 0; i < 9; ++i) GravaU32(saida + 4 * i, static_cast<uint32_t>(campos[i]));
}

int MontaRegistroEspelho(int operacao, int rede, const char* data, const char* empresa,
                         const char* nsu, const void* principal, size_t tam_principal,
                         const void* secundario, size_t tam_secundario,
                         const FaixasEspelho* faixas, int64_t agora_seg, uint8_t* saida,
                         size_t room, size_t* total) {
  if (principal == nullptr && tam_principal > 0) return NV_EINVAL;
  const bool com_faixas = secundario != nullptr && faixas != nullptr && faixas->quantidade > 0;
  const auto* sec = static_cast<const uint8_t*>(secundario);
  const size_t m = com_faixas ? Faixas(faixas, sec, tam_secundario, nullptr) : 0;
  const size_t t = sizeof(CabecalhoEspelho) + tam_principal + m;
  if (t - 2 > 0xFFFF || t > room) return NV_EINVAL;

  CabecalhoEspelho cab{};
  GravaU16(cab.Tamanho, static_cast<uint16_t>(t - 2));
  GravaU16(cab.Marca, kMarcaEspelho);
  GravaU16(cab.Operacao, static_cast<uint16_t>(operacao));
  GravaU16(cab.Zero, 0);
  GravaU16(cab.Rede, static_cast<uint16_t>(rede));
  HoraEspelho(agora_seg, cab.Hora);
  Campo(cab.Data, sizeof cab.Data, data, '0');
  Campo(cab.Empresa, sizeof cab.Empresa, empresa, '*');
  Campo(cab.Nsu, sizeof cab.Nsu, nsu, '0');
  std::memcpy(saida, &cab, sizeof cab);
  if (tam_principal > 0) std::memcpy(saida + sizeof cab, principal, tam_principal);
  if (m > 0) Faixas(faixas, sec, tam_secundario, saida + sizeof cab + tam_principal);
  *total = t;
  return NV_OK;
}
