#include "platform/DataFolder.h"

#include <iostream>

int main()
{
    std::cout << "MERIDAVOLT: the window is not built yet. Data folder: "
              << meridavolt::applicationDataFolder().string() << "\n";
    return 0;
}
