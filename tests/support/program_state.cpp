#include "support/program_state.h"

#include "app/filter_state.h"
#include "base/replacing_file.h"
#include "booklist/booklist.h"

void ResetProgramState() {
    ResetBooklistState();
    ResetFilterState();
    FailNextFileAfter(-1);
}
