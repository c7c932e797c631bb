#pragma once

#include <optional>
#include <string>

namespace tovali {

// The printers a child may print on: only those of the system's print
// service. GTK also offers virtual printers ("Print to File", with a file
// chooser over the whole file system); the program never loads them, so
// neither the print dialog nor a print without it can write a file.
class RealPrinters {
 public:
  // Keeps GTK's print dialog to the print service's printers. Idempotent;
  // call on the user-interface thread after GTK is up, before any print.
  static void restrict();

  // The print service's default printer (a real one, never a virtual
  // printer), or nothing when there is none. Asks the print service and
  // waits for its list.
  static std::optional<std::string> default_printer();
};

}  // namespace tovali
