// Commands that are not built yet return to the prompt at once. Each moves to its own
// unit when it is built.
#include "commands/commands.h"

namespace zorvat {

void CALCULATEALMANAC() {}
void COMPARE() {}
void DIFFERENCES() {}
void INPUTTABLE() {}
void LEAST_NUMBER_OF_ERRORS() {}
void LEAST_SQUARES_ESTIMATION() {}
void MODIFY() {}
void OPTIMUM_EPOCH_VALUE() {}
void PRINTTABLES() {}
void RECOMPUTE() {}
void SCRIBAL_ERRORS() {}
void SPECIAL_FUNCTION() {}
void SQUEEZE_PARAMETER() {}
void VIEWTABLE() {}
void WRITETABLE() {}

}  // namespace zorvat
