#pragma once

// Puts the progress window's latest position and counter line on screen and paints them at once,
// if the window is open. During a run repaints are coalesced, so the last values of a run may not
// have been shown yet; the pause after a run shows its final counts.
void ShowLatestProgress();
