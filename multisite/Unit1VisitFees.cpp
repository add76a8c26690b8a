#include "Unit1.h"

// Examination fees, travel bands, surcharges and splints. Not yet built.

void TForm1::Button60Click() {}
void TForm1::Button61Click() {}
void TForm1::Button62Click() {}
void TForm1::Button63Click() {}
void TForm1::Button64Click() {}
void TForm1::Button65Click() {}
void TForm1::Button66Click() {}
void TForm1::Button67Click() {}
void TForm1::Button68Click() {}
void TForm1::Button69Click() {}
void TForm1::Button70Click() {}
void TForm1::Button71Click() {}
void TForm1::Button72Click() {}
void TForm1::Button102Click() {}
void TForm1::Button103Click() {}
void TForm1::Button104Click() {}
