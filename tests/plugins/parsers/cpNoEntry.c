/* A library in the plug-ins' folder without the parser entry point. */
__attribute__((visibility("default"))) int NotAParser(void) { return 1; }
