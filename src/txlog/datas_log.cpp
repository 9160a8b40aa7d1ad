// Date rules of the transaction log: the year of an MMDD, the month of an
// NSU's day, days back, and the "DataInicio" check.
#include "txlog/datas_log.h"

#include <cstring>

static bool Digitos(const char* s, int n, int* valor) {
  int v = 0;
  for (int i = 0; i < n; i++) {
    if (s[i] < '0' || s[i] > '9') return false;
    v = v * 10 + (s[i] - '0');
  }
  *valor = v;
  return true;
}

bool LeMMDD(const char* mmdd, int* mes, int* dia) {
  int v = 0;
  if (mmdd == nullptr || !Digitos(mmdd, 4, &v)) return false;
  *mes = v / 100;
  *dia = v % 100;
  return *mes >= 1 && *mes <= 12 && *dia >= 1 && *dia <= 31;
}

int DataDoArgumento(const char* mmdd, const NV_DataHora& hoje, int* data) {
  int mes = 0, dia = 0;
  if (!LeMMDD(mmdd, &mes, &dia)) return 22;
  int ano = hoje.ano;
  if (mes == 1 && hoje.mes == 12) ano++;
  else if (mes > hoje.mes) ano--;
  *data = ano * 10000 + mes * 100 + dia;
  return 0;
}

int DataDoDiaNsu(int dia, const NV_DataHora& hoje) {
  int ano = hoje.ano, mes = hoje.mes;
  if (dia > hoje.dia) {
    if (--mes == 0) {
      mes = 12;
      ano--;
    }
  }
  return ano * 10000 + mes * 100 + dia;
}

int DataDaVarredura(const char* mmdd, const NV_DataHora& hoje, int* data) {
  int mes = 0, dia = 0;
  if (!LeMMDD(mmdd, &mes, &dia)) return 22;
  const int ano = hoje.mes >= mes ? hoje.ano : hoje.ano - 1;
  *data = ano * 10000 + mes * 100 + dia;
  return 0;
}

static int DiasDoMes(int ano, int mes) {
  static constexpr int kDias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool bissexto = (ano % 4 == 0 && ano % 100 != 0) || ano % 400 == 0;
  return mes == 2 && bissexto ? 29 : kDias[mes - 1];
}

int DataMenosDias(int data, int dias) {
  int ano = AnoDe(data), mes = MesDe(data), dia = DiaDe(data);
  for (int i = 0; i < dias; i++) {
    if (--dia >= 1) continue;
    if (--mes == 0) {
      mes = 12;
      ano--;
    }
    dia = DiasDoMes(ano, mes);
  }
  return ano * 10000 + mes * 100 + dia;
}

bool DataInicioValida(const char* ddmmaaaa, int* data) {
  int dia = 0, mes = 0, ano = 0;
  if (ddmmaaaa == nullptr || std::strlen(ddmmaaaa) != 8 || !Digitos(ddmmaaaa, 2, &dia) ||
      !Digitos(ddmmaaaa + 2, 2, &mes) || !Digitos(ddmmaaaa + 4, 4, &ano))
    return false;
  if (mes < 1 || mes > 12 || ano < 2002) return false;
  // February counts 29 days in every year.
  const int max = mes == 2 ? 29 : DiasDoMes(2001, mes);
  if (dia < 1 || dia > max) return false;
  *data = ano * 10000 + mes * 100 + dia;
  return true;
}
