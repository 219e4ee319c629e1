#pragma once
// Puts every platform service on its virtual back end, for tests.
void UseVirtualBackend();
