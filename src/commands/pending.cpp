// Commands that are not built yet return to the prompt at once. Each moves to its own
// unit when it is built.
#include "commands/commands.h"

namespace zorvat {

void CALCULATEALMANAC() {}
void CHANGEDIRECTORY() {}
void COMPARE() {}
void DIFFERENCES() {}
void DELETEZIJ() {}
void GETTABLES() {}
void GETZIJ() {}
void INPUTTABLE() {}
void LISTZIJESINBRANCH() {}
void LEAST_NUMBER_OF_ERRORS() {}
void LEAST_SQUARES_ESTIMATION() {}
void LISTZIJES() {}
void MODIFY() {}
void OPTIMUM_EPOCH_VALUE() {}
void PRINTTABLES() {}
void RECOMPUTE() {}
void RENAMEZIJ() {}
void SCRIBAL_ERRORS() {}
void SPECIAL_FUNCTION() {}
void SQUEEZE_PARAMETER() {}
void SAVETABLES() {}
void SAVEZIJ() {}
void VIEWTABLE() {}
void WRITETABLE() {}

}  // namespace zorvat
