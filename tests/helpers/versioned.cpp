// A program whose version resource says 1.2.3.4 (versioned.rc): a known
// subject for the version members. It does nothing when run.
int main() { return 0; }
