// Links and forms whose address runs script, activated by the real pointer in
// the page and in a frame, against a page that tries to slip them past us.

#include "WebKitTestFixture.h"

#include <gdk/x11/gdkx.h>

#include <array>
#include <cstdio>
#include <regex>

using namespace meridavolt;
using namespace meridavolt::testing;

namespace {

// One page of cases; "%W%" names where it is shown ("top" or "frame"). Every
// script address asks the server for /ran/..., every handler of the page for
// /handled/..., so both can be counted in the top page and in the frame.
const char* const casesTemplate = R"HTML(<!doctype html><html><head><style>
body { margin: 0; display: flex; flex-wrap: wrap; align-items: flex-start }
a, button, .host, math, svg { display: block; width: 120px; height: 18px; margin: 2px; font: 14px sans-serif }
</style></head><body>
<a id=middle href="javascript:void fetch('/ran/%W%/middle')">middle</a>
<a id=outer href="javascript:void fetch('/ran/%W%/wrapped')"></a>
<a id=swapped href="/never/%W%">swapped</a>
<a id=stopped href="/never/%W%">stopped</a>
<form action="javascript:void fetch('/ran/%W%/form')"><button id=form>form</button></form>
<form action="/never/%W%"><button id=formaction formaction="javascript:void fetch('/ran/%W%/formaction')">formaction</button></form>
<span class=host id=open></span>
<span class=host id=closed></span>
<span class=host id=closedmiddle></span>
<span class=host id=closedkey></span>
<span class=host id=shadowform></span>
<span class=host id=foreign></span>
<span class=host id=foreigngone></span>
<button type=button id=scriptsubmit>script submit</button>
<button type=button id=foreignsubmit>foreign submit</button>
<button type=button id=requestsubmit>request submit</button>
<span id=requestroot></span>
<form id=scriptform action="javascript:void fetch('/ran/%W%/scriptsubmit')"></form>
<form id=foreignform action="javascript:void fetch('/ran/%W%/foreignsubmit')"></form>
<math id=math href="javascript:void fetch('/ran/%W%/math')"><mi>math-link</mi></math>
<math><mi id=mi href="javascript:void fetch('/ran/%W%/mi')">mi-link-text</mi></math>
<math><mtext id=mtext href="javascript:void fetch('/ran/%W%/mtext')">mtext-link</mtext></math>
<svg id=use><defs><a id=copied href="javascript:void fetch('/ran/%W%/use')"><rect width=120 height=18 /></a></defs><use href="#copied"/></svg>
<svg id=usemiddle><defs><a id=copiedmiddle href="javascript:void fetch('/ran/%W%/usemiddle')"><rect width=120 height=18 /></a></defs><use href="#copiedmiddle"/></svg>
<svg id=xlinkuse><defs><g id=xlinked><a xlink:href="javascript:void fetch('/ran/%W%/xlinkuse')"><rect width=120 height=18 /></a></g></defs><use xlink:href="#xlinked"/></svg>
<svg id=externaluse><use href="/sprite/%W%.svg#copied"/></svg>
<a id=iconlink href="/next/%W%"><svg><use href="/sprite/%W%.svg#icon"/></svg></a>
<a id=plain href="/next/%W%">plain</a>
<a id=middleplain href="/middle/%W%">middle plain</a>
<form action="/submitted/%W%"><input type=hidden name=q value=1><button id=submit>submit</button></form>
<script>
  const report = (id) => fetch('/handled/%W%/' + id);
  const scriptAddress = (name) => "javascript:void fetch('/ran/%W%/" + name + "')";
  const inner = document.createElement('a');
  inner.id = 'wrapped';
  inner.textContent = 'wrapped';
  document.getElementById('outer').append(inner);
  // Links in shadow roots; only the page holds the closed ones. Focus given to
  // a host goes on to its link.
  for (const [id, mode, type] of [['open', 'open', 'click'], ['closed', 'closed', 'click'],
                                  ['closedmiddle', 'closed', 'auxclick'], ['closedkey', 'closed', 'click']]) {
    const root = document.getElementById(id).attachShadow({ mode, delegatesFocus: true });
    root.innerHTML = '<a href="' + scriptAddress(id) + '" style="display:block">' + id + '</a>';
    root.firstChild.addEventListener(type, () => report(id));
  }
  // A form in a shadow root submits there only, with the Enter key in its one field.
  const formRoot = document.getElementById('shadowform').attachShadow({ mode: 'open' });
  formRoot.innerHTML = '<form action="' + scriptAddress('shadowform') + '"><input style="height:14px"></form>';
  formRoot.firstChild.addEventListener('submit', () => report('shadowform'));
  // Methods of another frame of the page, one that stays and one already gone.
  const borrowed = (keep) => {
    const frame = document.createElement('iframe');
    frame.hidden = true;
    document.body.append(frame);
    const methods = { attachShadow: frame.contentWindow.Element.prototype.attachShadow,
                      submit: frame.contentWindow.HTMLFormElement.prototype.submit };
    if (!keep) frame.remove();
    return methods;
  };
  const kept = borrowed(true);
  const gone = borrowed(false);
  const foreignRoot = kept.attachShadow.call(document.getElementById('foreign'), { mode: 'closed' });
  foreignRoot.innerHTML = '<a href="' + scriptAddress('foreign') + '" style="display:block">foreign</a>';
  foreignRoot.firstChild.addEventListener('click', () => report('foreign'));
  // Outside the root, a handler turns its link into a script and lets no other handler of the host run.
  const goneHost = document.getElementById('foreigngone');
  const goneRoot = gone.attachShadow.call(goneHost, { mode: 'closed' });
  goneRoot.innerHTML = '<a href="/never/%W%" style="display:block">foreign gone</a>';
  goneHost.addEventListener('click', (event) => {
    report('foreigngone');
    goneRoot.firstChild.href = scriptAddress('foreigngone');
    event.stopImmediatePropagation();
    setTimeout(() => goneRoot.firstChild.href = '/never/%W%');
  });
  // A closed root made while its host sat in a frame's document, the host then
  // moved into the page and the frame removed. During the click, the page adds
  // a listener that turns its link into a script after every handler before.
  const lender = document.createElement('iframe');
  lender.hidden = true;
  document.body.append(lender);
  const adoptedHost = lender.contentDocument.createElement('span');
  adoptedHost.className = 'host';
  adoptedHost.id = 'adopted';
  lender.contentDocument.body.append(adoptedHost);
  const adoptedRoot = adoptedHost.attachShadow({ mode: 'closed' });
  adoptedRoot.innerHTML = '<a href="/never/%W%" style="display:block">adopted</a>';
  const adoptedLink = adoptedRoot.firstChild;
  adoptedLink.addEventListener('click', () => {
    report('adopted');
    const swap = () => {
      removeEventListener('click', swap);
      adoptedLink.href = scriptAddress('adopted');
      setTimeout(() => adoptedLink.href = '/never/%W%');
    };
    addEventListener('click', swap);
  });
  document.body.insertBefore(adoptedHost, document.getElementById('plain'));
  lender.remove();
  // Forms sent by the page's own script: submit() fires no event.
  const requestRoot = document.getElementById('requestroot').attachShadow({ mode: 'open' });
  requestRoot.innerHTML = '<form action="' + scriptAddress('requestsubmit') + '"></form>';
  const sends = { scriptsubmit: () => document.getElementById('scriptform').submit(),
                  foreignsubmit: () => gone.submit.call(document.getElementById('foreignform')),
                  requestsubmit: () => requestRoot.firstChild.requestSubmit() };
  for (const id in sends) {
    document.getElementById(id).addEventListener('click', () => {
      report(id);
      sends[id]();
    });
  }
  for (const id of ['wrapped', 'form', 'formaction', 'math', 'mi', 'mtext', 'use', 'xlinkuse', 'externaluse']) {
    document.getElementById(id).addEventListener('click', () => report(id));
  }
  for (const id of ['middle', 'usemiddle']) document.getElementById(id).addEventListener('auxclick', () => report(id));
  // The address turns into a script just before the default action, and back afterwards.
  for (const id of ['swapped', 'stopped']) {
    const link = document.getElementById(id);
    link.addEventListener('click', (event) => {
      report(id);
      link.href = scriptAddress(id);
      if (id === 'stopped') event.stopPropagation();
      setTimeout(() => link.href = '/never/%W%');
    });
  }
</script>
</body></html>)HTML";

const std::array<const char*, 24> scriptCases = {
    "middle",        "wrapped",       "swapped",    "stopped",      "form",      "formaction",
    "open",          "closed",        "closedmiddle", "closedkey",  "shadowform", "foreign",
    "foreigngone",   "scriptsubmit",  "foreignsubmit", "requestsubmit", "math",  "mi",
    "mtext",         "use",           "usemiddle",  "xlinkuse",     "adopted",   "externaluse"};

// Another file's elements for `use`: a link that runs script, and an icon.
std::string sprite(const std::string& where)
{
    return "<svg xmlns='http://www.w3.org/2000/svg'><a id='copied' href=\"javascript:void fetch('/ran/" + where +
           "/externaluse')\"><rect width='120' height='18'/></a><g id='icon'><rect width='120' height='18'/></g></svg>";
}

std::string casesPage(const std::string& where, const std::string& extra = "")
{
    std::string page = std::regex_replace(casesTemplate, std::regex("%W%"), where);
    return page.insert(page.find("</body>"), extra);
}

}  // namespace

class WebKitScriptAddressTest : public WebKitTest {
protected:
    void SetUp() override
    {
        WebKitTest::SetUp();
        server_.serve("/start", casesPage("top", "<iframe id=frame src='/frame'"
                                                 " style='border:0; width:400px; height:300px'></iframe>"));
        server_.serve("/frame", casesPage("frame"));
        for (const char* where : {"top", "frame"}) {
            HttpResponse file;
            file.contentType = "image/svg+xml";
            file.body = sprite(where);
            server_.serve("/sprite/" + std::string(where) + ".svg", file);
            for (const char* path : {"/next/", "/middle/", "/submitted/"}) {
                server_.serve(path + std::string(where), "<!doctype html><p>arrived</p>");
            }
        }
        session_ = &openSession(server_.url("/start"));
        ASSERT_TRUE(waitForPage(*session_, server_.url("/start")));
        ASSERT_TRUE(waitUntil([&] { return position("top", "open") && position("frame", "open"); }));
    }

    // Where an element of the top page or of the frame is on screen, in the
    // web view's coordinates; nothing until it is laid out.
    std::optional<std::pair<int, int>> position(const std::string& where, const std::string& id)
    {
        const std::string text = evaluateText(*session_,
            "const frame = document.getElementById('frame');"
            "const inFrame = '" + where + "' === 'frame';"
            "const origin = inFrame ? frame.getBoundingClientRect() : { left: 0, top: 0 };"
            "const element = (inFrame ? frame.contentDocument : document)?.getElementById('" + id + "');"
            "if (!element || !element.getBoundingClientRect().height) return 'none';"
            "const box = element.getBoundingClientRect();"
            "return Math.round(origin.left + box.left + 10) + ' ' + Math.round(origin.top + box.top + box.height / 2);",
            nullptr);
        int x = 0, y = 0;
        if (std::sscanf(text.c_str(), "%d %d", &x, &y) != 2) return std::nullopt;
        return std::make_pair(x, y);
    }

    // Activates a case as a user does: a middle click on "middle",
    // "closedmiddle" and "usemiddle", Enter on the focused link of "closedkey"
    // and in the field of the form in a shadow root, a click on the rest, after
    // a rest of the pointer on "externaluse".
    void activate(const std::string& where, const std::string& id)
    {
        if (id == "middle" || id == "closedmiddle" || id == "usemiddle") return click(where, id, 2);
        if (id == "externaluse") {  // the other file read by the time of the click
            click(where, id, 0);
            runMainLoopFor(std::chrono::milliseconds(300));
        }
        if (id == "closedkey") {
            const std::string document =
                where == "frame" ? "document.getElementById('frame').contentDocument" : "document";
            evaluateText(*session_, document + ".getElementById('closedkey').focus(); return 'focused';");
        } else {
            click(where, id);
        }
        if (id == "shadowform" || id == "closedkey") {
            ASSERT_TRUE(g_spawn_command_line_sync("xdotool key Return", nullptr, nullptr, nullptr, nullptr));
            runMainLoopFor(std::chrono::milliseconds(80));
        }
    }

    // Clicks an element with the real pointer: button 1 is the primary one,
    // 2 the middle one, none only moves the pointer there.
    void click(const std::string& where, const std::string& id, int button = 1)
    {
        const auto point = position(where, id);
        ASSERT_TRUE(point) << where << " " << id;
        graphene_point_t inView = GRAPHENE_POINT_INIT(float(point->first), float(point->second));
        graphene_point_t inWindow;
        ASSERT_TRUE(gtk_widget_compute_point(WebKitEngine::widgetOf(session_->engine()), GTK_WIDGET(window_),
                                             &inView, &inWindow));
        double marginX = 0, marginY = 0;
        gtk_native_get_surface_transform(GTK_NATIVE(window_), &marginX, &marginY);
        const auto xid = gdk_x11_surface_get_xid(gtk_native_get_surface(GTK_NATIVE(window_)));
        const std::string command = "xdotool mousemove --window " + std::to_string(xid) + " " +
                                    std::to_string(int(inWindow.x + marginX)) + " " +
                                    std::to_string(int(inWindow.y + marginY)) +
                                    (button ? " click " + std::to_string(button) : "");
        ASSERT_TRUE(g_spawn_command_line_sync(command.c_str(), nullptr, nullptr, nullptr, nullptr));
        runMainLoopFor(std::chrono::milliseconds(80));
    }

    WebSession* session_ = nullptr;
};

TEST_F(WebKitScriptAddressTest, ScriptAddressesOfLinksAndFormsNeverRunWhileThePagesHandlersDo)
{
    for (int round = 0; round < 3; ++round) {
        for (const char* where : {"top", "frame"}) {
            for (const char* id : scriptCases) activate(where, id);
        }
    }
    for (const char* where : {"top", "frame"}) {
        for (const std::string id : scriptCases) {
            const std::string handled = "/handled/" + std::string(where) + "/" + id;
            EXPECT_TRUE(waitUntil([&] { return server_.requestCount(handled) == 3; })) << handled;
        }
    }
    runMainLoopFor(std::chrono::milliseconds(300));
    for (const char* where : {"top", "frame"}) {
        for (const std::string id : scriptCases) {
            EXPECT_EQ(server_.requestCount("/ran/" + std::string(where) + "/" + id), 0) << where << " " << id;
        }
        EXPECT_EQ(server_.requestCount("/never/" + std::string(where)), 0);
    }
    EXPECT_EQ(session_->engine().currentAddress(), server_.url("/start"));
    EXPECT_FALSE(session_->failure());
}

TEST_F(WebKitScriptAddressTest, OrdinaryLinksFormsAndMiddleClicksStillWork)
{
    // A link around an icon that a `use` copies from another file opens once
    // the pointer has rested on it.
    click("top", "iconlink", 0);
    runMainLoopFor(std::chrono::milliseconds(500));
    click("top", "iconlink");
    ASSERT_TRUE(waitForPage(*session_, server_.url("/next/top")));
    session_->goBack();
    ASSERT_TRUE(waitForPage(*session_, server_.url("/start")));
    ASSERT_TRUE(waitUntil([&] { return position("frame", "plain").has_value(); }));

    click("top", "plain");
    ASSERT_TRUE(waitForPage(*session_, server_.url("/next/top")));
    session_->goBack();
    ASSERT_TRUE(waitForPage(*session_, server_.url("/start")));
    ASSERT_TRUE(waitUntil([&] { return position("frame", "middleplain").has_value(); }));

    click("top", "middleplain", 2);
    ASSERT_TRUE(waitForPage(*session_, server_.url("/middle/top")));
    session_->goBack();
    ASSERT_TRUE(waitForPage(*session_, server_.url("/start")));
    ASSERT_TRUE(waitUntil([&] { return position("frame", "submit").has_value(); }));

    click("top", "submit");
    ASSERT_TRUE(waitForPage(*session_, server_.url("/submitted/top?q=1")));
    session_->goBack();
    ASSERT_TRUE(waitForPage(*session_, server_.url("/start")));
    ASSERT_TRUE(waitUntil([&] { return position("frame", "submit").has_value(); }));

    // In the frame, the frame follows its link and submits its form.
    click("frame", "submit");
    ASSERT_TRUE(waitUntil([&] { return server_.requestCount("/submitted/frame") == 1; }));
    EXPECT_EQ(server_.lastRequest("/submitted/frame").target, "/submitted/frame?q=1");
    // Back only once the frame shows the answer: before, there is no entry to go back from.
    ASSERT_TRUE(waitUntil([&] {
        return evaluateText(*session_, "return document.getElementById('frame').contentWindow.location.pathname;",
                            nullptr) == "/submitted/frame";
    }));
    session_->goBack();
    ASSERT_TRUE(waitUntil([&] { return position("frame", "plain").has_value(); }));
    click("frame", "plain");
    EXPECT_TRUE(waitUntil([&] { return server_.requestCount("/next/frame") == 1; }));
    EXPECT_EQ(session_->engine().currentAddress(), server_.url("/start"));

    // Sent by the page's own script, with and without its submit event.
    for (const std::string send : {"submit", "requestSubmit"}) {
        const int sent = server_.requestCount("/submitted/top");
        // The button named "submit" hides the form's own method of that name.
        evaluateText(*session_, "HTMLFormElement.prototype." + send + ".call(document.getElementById('submit').form);"
                                "return 'sent';", nullptr);
        ASSERT_TRUE(waitForPage(*session_, server_.url("/submitted/top?q=1"))) << send;
        EXPECT_EQ(server_.requestCount("/submitted/top"), sent + 1);
        session_->goBack();
        ASSERT_TRUE(waitForPage(*session_, server_.url("/start")));
    }
}

TEST_F(WebKitScriptAddressTest, ThePageMakesShadowRootsAsBefore)
{
    const std::string answer = evaluateText(*session_, R"JS(
        const attach = Element.prototype.attachShadow;
        const failure = (action) => { try { action(); return 'none'; } catch (error) { return error.name; } };
        const closedHost = document.createElement('div');
        const closedRoot = closedHost.attachShadow({ mode: 'closed' });
        const openHost = document.createElement('div');
        const openRoot = openHost.attachShadow({ mode: 'open', delegatesFocus: true });
        return [attach.name, attach.length, 'prototype' in attach, failure(() => new attach({ mode: 'open' })),
                closedRoot.mode, String(closedHost.shadowRoot), openRoot.mode, openHost.shadowRoot === openRoot,
                openRoot.delegatesFocus, failure(() => openHost.attachShadow({ mode: 'open' })),
                failure(() => closedHost.attachShadow({ mode: 'closed' })),
                failure(() => document.createElement('div').attachShadow({ mode: 'ajar' })),
                failure(() => attach.call(document, { mode: 'open' })),
                failure(() => document.createElement('img').attachShadow({ mode: 'closed' }))].join(' ');
    )JS", nullptr);
    EXPECT_EQ(answer, "attachShadow 1 false TypeError closed null open true true NotSupportedError "
                      "NotSupportedError TypeError TypeError NotSupportedError");
}

TEST_F(WebKitScriptAddressTest, NothingThePageCanSeeOnItsWindowsNamesTheProgram)
{
    const std::string seen = evaluateText(*session_, R"JS(
        const names = (view) => Reflect.ownKeys(view).map(String).join(' ').toLowerCase();
        return names(window) + ' | ' + names(document.getElementById('frame').contentWindow);
    )JS", nullptr);
    EXPECT_NE(seen.find("symbol("), std::string::npos) << seen;
    EXPECT_EQ(seen.find("meridavolt"), std::string::npos) << seen;
}

TEST_F(WebKitScriptAddressTest, ThePagesFormMethodsAndTheirSourceAreAsBefore)
{
    const std::string answer = evaluateText(*session_, R"JS(
        const { submit, requestSubmit } = HTMLFormElement.prototype;
        const failure = (action) => { try { action(); return 'none'; } catch (error) { return error.name; } };
        // A method left as the engine made it shows how the engine writes its source.
        const engineSource = (name) => String(Element.prototype.getAttribute).replace('getAttribute', name);
        const form = document.createElement('form');
        const outside = document.createElement('button');
        return [submit.name, submit.length, 'prototype' in submit, failure(() => new submit()),
                failure(() => submit.call(document.createElement('div'))), failure(() => submit.call(form)),
                requestSubmit.name, requestSubmit.length, failure(() => requestSubmit.call(document)),
                failure(() => form.requestSubmit(outside)), failure(() => form.requestSubmit()),
                String(submit) === engineSource('submit'), String(requestSubmit) === engineSource('requestSubmit'),
                String(Element.prototype.attachShadow) === engineSource('attachShadow'),
                String(Function.prototype.toString) === engineSource('toString'),
                Function.prototype.toString.call(Function.prototype.toString) === engineSource('toString'),
                Function.prototype.toString.length, failure(() => Function.prototype.toString.call({}))].join(' ');
    )JS", nullptr);
    EXPECT_EQ(answer, "submit 0 false TypeError TypeError none requestSubmit 0 TypeError NotFoundError none "
                      "true true true true true 0 TypeError");
}
