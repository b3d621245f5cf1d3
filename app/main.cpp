#include "app/view/MeridavoltApplication.h"
#include "platform/LargeBufferReuse.h"

int main(int argc, char* argv[])
{
    meridavolt::keepLargeBuffersForReuse();
    return meridavolt::runApplication(argc, argv);
}
