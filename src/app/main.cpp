#include "app/ProgramEntry.h"

int main(int argc, char** argv) {
  return trovenix::RunProgram(argc, argv);
}
