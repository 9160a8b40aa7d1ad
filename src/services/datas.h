// Date and time texts of now, from the run-time's clock.
#pragma once

void DataMMDD(char saida[5]);          // "%m%d"
void HoraHHMMSS(char saida[7]);        // "%H%M%S"
void DataMMDDAA(char saida[9]);        // "%m/%d/%y"
void HoraHHMMSSPontos(char saida[9]);  // "%H:%M:%S"
// MMDD -> YYYYMMDD: this year, or the next when MMDD is before today.
// "00000000" when mmdd is not four digits.
void ProximaDataAnual(const char* mmdd, char saida[9]);
// MMDD -> YYYYMMDD in the past year sense, or "00000000" for a bad date
// (not four digits, month outside 1 to 12 or day outside 1 to 31).
void DataPassada(const char* mmdd, char saida[9]);
