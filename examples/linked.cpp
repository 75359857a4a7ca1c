// C++, linked with the import library; a table whose headers sort it.
#include <iostream>
#include <string>

#include "vantrel.h"

int main() {
  const std::string table = "120~Name;60~Age;|Smith;42;|Jones;37;|";
  // "-1": the whole chosen row, each cell followed by "|"; "" when none.
  std::string row = ShowMultiListBox("People", table.c_str(), "-1", "400", "300", "0");
  if (!row.empty()) std::cout << "Chosen: " << row << "\n";
}
