// orvane-service: the service functions of the adjustment program on the
// command line.
#include <iostream>

#include "tools/service/Service.h"

int main(int argc, char** argv) {
    return orvane::service::RunService(argc, argv, std::cout, std::cerr);
}
