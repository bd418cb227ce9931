// Linked with the whole of one layer's library; see LayerChecks.cmake.
int main() {
    return 0;
}
