#include "support/program_state.h"

#include "app/booklist.h"
#include "app/startup_constants.h"
#include "base/replacing_file.h"
#include "platform/headless/headless.h"

void ResetProgramState() {
    ResetBooklistState();
    SetServerBaseUrl(DefaultServerBaseUrl);
    headless::Reset();
    FailNextFileAfter(-1);
}
