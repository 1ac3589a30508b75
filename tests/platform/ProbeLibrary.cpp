// What platform_tests load at run time.
extern "C" int QuorvelProbe() {
  return 42;
}
