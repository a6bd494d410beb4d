#include "support/program_state.h"

#include "booklist/booklist.h"
#include "app/startup_constants.h"
#include "base/replacing_file.h"
#include "maintenance/booklist_update.h"
#include "platform/headless/headless.h"

void ResetProgramState() {
    ResetBooklistState();
    SetServerBaseUrl("");
    SetServerUpdateTimeouts({});
    headless::Reset();
    FailNextFileAfter(-1);
}
