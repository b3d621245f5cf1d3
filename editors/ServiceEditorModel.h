#pragma once

#include "model/LaunchMode.h"
#include "model/Service.h"

#include <functional>
#include <optional>
#include <string>

namespace meridavolt {

// The edits of the service editor sheet: a name, an address and a launch
// mode, started from one service or, for a new web site, from nothing. Saving
// hands exactly one complete service to the save action.
class ServiceEditorModel {
public:
    static constexpr const char* newWebsiteTitle = "Webサイトを追加";
    static constexpr const char* editTitle = "サービスを編集";
    static constexpr const char* nameTitle = "名前";
    static constexpr const char* addressPlaceholder = "https://example.com";
    static constexpr const char* modeTitle = "開き方";
    static constexpr const char* embeddedTitle = "アプリ内";
    static constexpr const char* externalTitle = "外部アプリ・ブラウザ";
    static constexpr const char* addressHint = "http / https のURLを入力してください";
    static constexpr const char* cancelTitle = "キャンセル";
    static constexpr const char* saveTitle = "保存";
    static constexpr const char* newWebsiteSymbol = "globe";

    ServiceEditorModel(std::optional<Service> service, std::function<void(Service)> save);

    const std::string& title() const;
    bool isNewWebsite() const { return !service_; }

    std::string name;
    std::string address;
    LaunchMode mode = LaunchMode::embedded;

    // The services that open only one way keep their mode.
    bool modeEditable() const;
    // The red hint: a typed address the parser refuses (blanks included).
    bool showsAddressHint() const;
    bool valid() const;

    // The service the save would hand over, or none while the input is invalid.
    std::optional<Service> edited() const;
    // Hands the edited service to the save action; false (nothing saved) while invalid.
    bool save();

private:
    std::optional<Service> service_;
    std::function<void(Service)> save_;
};

}  // namespace meridavolt
