/* A minimal Windows program for the image tool's tests of PE resources. */
int main(void) { return 0; }
