// Keeps the library non-empty until its first units land.
int QvFrameworkPlaceholder() { return 0; }
