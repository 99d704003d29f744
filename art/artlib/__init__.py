"""Drawing and file writing for the suite's generated pictures."""
