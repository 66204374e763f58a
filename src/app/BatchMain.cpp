// Entry point of lumaforge-batch.
#include <iostream>

#include "app/Batch.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return lf::RunBatch(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
