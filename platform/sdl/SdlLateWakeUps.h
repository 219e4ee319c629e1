#pragma once
// Keeps a wake-up that reaches a window already destroyed from ending the
// program. Call before the video system starts.
void IgnoreLateWakeUps();
