#include "sakusei.h"

void TForm6::Button16Click() {}
void TForm6::Button17Click() {}
void TForm6::Button18Click() {}
void TForm6::Button19Click() {}
void TForm6::Button20Click() {}
void TForm6::Button21Click() {}
void TForm6::Button22Click() {}
void TForm6::Button23Click() {}
void TForm6::Button24Click() {}
void TForm6::Button28Click() {}
void TForm6::Button29Click() {}
void TForm6::Button33Click() {}
void TForm6::Button34Click() {}
