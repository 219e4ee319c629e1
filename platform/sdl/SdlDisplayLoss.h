#pragma once
// Ends the process at once, with a line on standard error, when the
// connection to the display is lost. Call after the video system started.
void EndProcessOnDisplayLoss();
