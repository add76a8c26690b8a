#include "Unit1.h"

// The calculation: rate draw, totals, co-payment, date. Not yet built.

void TForm1::Button73Click() {}
