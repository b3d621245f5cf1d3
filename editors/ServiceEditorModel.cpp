#include "editors/ServiceEditorModel.h"

#include "model/WebsiteURL.h"
#include "platform/Text.h"
#include "platform/Uuid.h"

namespace meridavolt {

ServiceEditorModel::ServiceEditorModel(std::optional<Service> service, std::function<void(Service)> save)
    : service_(std::move(service)), save_(std::move(save))
{
    if (service_) {
        name = service_->name;
        address = service_->url;
        mode = service_->mode;
    }
}

const std::string& ServiceEditorModel::title() const
{
    static const std::string newTitle = newWebsiteTitle, existingTitle = editTitle;
    return service_ ? existingTitle : newTitle;
}

bool ServiceEditorModel::modeEditable() const
{
    return !service_ || (service_->id != "line" && service_->id != "chrome");
}

bool ServiceEditorModel::showsAddressHint() const { return !address.empty() && !WebsiteURL::parse(address); }

bool ServiceEditorModel::valid() const { return !isBlank(name) && WebsiteURL::parse(address).has_value(); }

std::optional<Service> ServiceEditorModel::edited() const
{
    if (isBlank(name)) return std::nullopt;
    auto parsed = WebsiteURL::parse(address);
    if (!parsed) return std::nullopt;
    Service service = service_ ? *service_
                               : Service{makeUUID(), name, newWebsiteSymbol, *parsed, LaunchMode::embedded,
                                         std::nullopt, {}};
    service.name = trimWhitespace(name);
    // A different address drops what belonged to the old one.
    if (service.url != *parsed) {
        service.appURL.reset();
        service.actions.clear();
    }
    service.url = *parsed;
    service.mode = mode;
    return service;
}

bool ServiceEditorModel::save()
{
    auto service = edited();
    if (!service) return false;
    save_(std::move(*service));
    return true;
}

}  // namespace meridavolt
