#include "clipboard/BackgroundWorker.h"

#include <thread>

namespace meridavolt {

void ThreadWorker::start(std::function<void()> work)
{
    std::thread(std::move(work)).detach();
}

}  // namespace meridavolt
