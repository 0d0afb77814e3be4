int QvEnginePlaceholder() { return 0; }
