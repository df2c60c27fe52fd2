// One program for the Qt Test classes of the memory, micro-program, trace and instruction-set
// windows; each class runs in turn on the offscreen platform.
#include <QApplication>

int RunMicroWindowsTest(int argc, char** argv);
int RunMemoryWindowTest(int argc, char** argv);
int RunInstructionSetWindowTest(int argc, char** argv);

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  int failures = 0;
  failures += RunMicroWindowsTest(argc, argv);
  failures += RunMemoryWindowTest(argc, argv);
  failures += RunInstructionSetWindowTest(argc, argv);
  return failures == 0 ? 0 : 1;
}
