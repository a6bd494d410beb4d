#pragma once

// Every process-wide table back to its state at process start, each layer through its own reset:
// the booklist with its indexes, the main list's filters, and a preset file failure not yet used.
void ResetProgramState();
