#pragma once

// Every process-wide table back to its state at process start, each layer through its own reset:
// the booklist with its indexes and filters, the headless services' presets and records, the
// start-up constants tests may change, and a preset file failure not yet used.
void ResetProgramState();
