// zadeve_idl [FILE]: writes the type library's IDL to FILE, or to standard output.

#include <cstdio>
#include <fstream>
#include <iostream>

#include "type_library_idl.h"

int main(int argc, char** argv) {
  const std::string idl = zadeve::tools::typeLibraryIdl();
  if (argc < 2) {
    std::cout << idl;
    return 0;
  }
  std::ofstream out(argv[1], std::ios::binary);
  out << idl;
  out.close();
  if (!out) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
