#include "app/window_start.h"

namespace calvoro {

bool InitialiseShellRecord(CSysData& record) {
  record.tipOpen = 0;
  if (record.freshStart != 1) return false;
  record.freshStart = 0;
  return record.showTips == 1;
}

}  // namespace calvoro
