#include "host/startup.h"

int main(int argc, char** argv) {
  return hostMain(argc, argv);
}
