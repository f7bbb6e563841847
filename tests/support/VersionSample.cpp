// A small program whose only purpose is the version note the build gives it; the file
// utilities' tests read that note from its file.
int main() {
  return 0;
}
