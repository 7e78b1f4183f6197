// A library for the run-time binding tests: one export.
extern "C" __attribute__((visibility("default"))) int ProbeAnswer()
{
    return 42;
}
