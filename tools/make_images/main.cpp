// make_images FOLDER: draws the nine tool bitmaps into FOLDER/bitmaps and the
// program icon into FOLDER/quorvin.ico. The committed copies live in
// resources/; run it on that folder after changing a picture.

#include <cstdio>
#include <string>

#include "tools/make_images/pictures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argc > 0 ? argv[0] : "make_images");
    return 2;
  }
  std::string error;
  if (!quorvin::images::writeImageFiles(argv[1], error)) {
    std::fprintf(stderr, "make_images: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
