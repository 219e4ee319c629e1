#include "game/ErrorReport.h"

#include "platform/Application.h"

namespace {
bool reporting = false;

struct ReportingScope {
  ReportingScope() { reporting = true; }
  ~ReportingScope() { reporting = false; }
  ReportingScope(const ReportingScope&) = delete;
  ReportingScope& operator=(const ReportingScope&) = delete;
};
}  // namespace

void ReportHandlerError(TObject* sender) {
  if (reporting) return;
  ReportingScope scope;
  Application.HandleException(sender);
}
