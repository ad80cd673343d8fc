// TIRLA: the program's entry.
#include "console/console.h"
#include "driver/driver.h"

int main(int argc, char** argv) {
  console::BindStandardStreams();
  if (argc > 1) driver::RunCommandLine(driver::ProcessCommandLine(argc, argv));
  driver::RunInteractive();
}
