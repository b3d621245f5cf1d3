#include "model/ServiceSwitchHistory.h"

namespace meridavolt {

void ServiceSwitchHistory::visit(const std::string& id)
{
    if (current == id) return;
    previous = current;
    current = id;
}

void ServiceSwitchHistory::remove(const std::string& id)
{
    if (previous == id) previous.reset();
    if (current == id) current.reset();
}

}  // namespace meridavolt
