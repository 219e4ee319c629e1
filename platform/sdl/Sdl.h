#pragma once
// Puts every platform service on its SDL back end, for the real program.
// Raises Exception when the video system cannot be started.
void UseSdlBackend();
void ShutDownSdlBackend();
