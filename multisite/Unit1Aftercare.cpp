#include "Unit1.h"

// Aftercare, compress and therapy toggles of sites 1-3. Not yet built.

void TForm1::Button57Click() {}
void TForm1::Button58Click() {}
void TForm1::Button59Click() {}
void TForm1::Button78Click() {}
void TForm1::Button79Click() {}
void TForm1::Button80Click() {}
void TForm1::Button81Click() {}
void TForm1::Button82Click() {}
void TForm1::Button83Click() {}
void TForm1::Button84Click() {}
void TForm1::Button85Click() {}
void TForm1::Button86Click() {}
void TForm1::Button87Click() {}
void TForm1::Button88Click() {}
void TForm1::Button89Click() {}
void TForm1::Button90Click() {}
void TForm1::Button91Click() {}
void TForm1::Button92Click() {}
void TForm1::Button93Click() {}
void TForm1::Button94Click() {}
void TForm1::Button95Click() {}
void TForm1::Button96Click() {}
void TForm1::Button97Click() {}
void TForm1::Button98Click() {}
void TForm1::Button99Click() {}
void TForm1::Button100Click() {}
void TForm1::Button101Click() {}
