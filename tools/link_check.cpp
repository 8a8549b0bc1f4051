// Linked with one library whole: the build fails when it calls into a layer it does not link.
int main() {
    return 0;
}
