#include "app/view/MeridavoltApplication.h"

int main(int argc, char* argv[]) { return meridavolt::runApplication(argc, argv); }
