// window <Symbol> {
//     class <WindowClass>
//     property <Name> <value>              a string, an integer or a word (True)
//     control <Class> [array <first> <last>] {
//         property <Name> <value>
//         event <Event> <function>         handlers make an anonymous subclass
//         size <bytes>                     of the subclass (default: its class's)
//     }
//     binding <source> "<part>" <target> "<part>" <BinderClass> "<source text>" "<target text>"
// }
//
// The layout is written to data1 as its byte count and the stream; compiled
// code passes the symbol's address to RuntimeCreateWindow.
#include <algorithm>

#include "ProjectDescription.h"
#include "TextEncoding.h"

namespace imagetool {
namespace {

std::string valueText(const Token& token) {
    switch (token.kind) {
        case Token::Kind::String: return shiftJisText(token);
        case Token::Kind::Integer: return std::to_string(static_cast<int32_t>(token.integer));
        case Token::Kind::Word: return token.text;
    }
    return {};
}

std::string nameText(const Token& token, std::string_view what) {
    if (token.kind == Token::Kind::String) return shiftJisText(token);
    return expectKind(token, Token::Kind::Word, what).text;
}

std::pair<std::string, std::string> parseProperty(const Statement& s) {
    expectArguments(s, 2, "property <name> <value>");
    expectNoBlock(s);
    return {nameText(s.arguments[0], "the property name"), valueText(s.arguments[1])};
}

ControlDescription parseControlBody(const Statement& statement) {
    ControlDescription control;
    control.controlClass = {nameText(statement.arguments[0], "the control's class"), statement.arguments[0].where};
    for (const Statement& s : statement.block) {
        const std::string& keyword = s.keyword.text;
        if (keyword == "property") {
            control.properties.push_back(parseProperty(s));
        } else if (keyword == "event") {
            expectArguments(s, 2, "event <event> <function>");
            const Token& function = expectKind(s.arguments[1], Token::Kind::Word, "the handler");
            control.eventHandlers.push_back({nameText(s.arguments[0], "the event"), {function.text, function.where}, 0});
        } else if (keyword == "size") {
            expectArguments(s, 1, "size <bytes>");
            control.size = integerArgument(s.arguments[0], "the size");
        } else {
            failAt(s.keyword.where, "unknown control statement '" + keyword + "' (known: property, event, size)");
        }
    }
    return control;
}

// A control, or the members of a control array: one per index, each with
// its "Index" property.
void parseControl(const Statement& s, WindowDescription& window) {
    const bool isArray = s.arguments.size() == 4;
    if (s.arguments.size() != 1 && !isArray) {
        failAt(s.keyword.where, "expected 'control <class> [array <first> <last>] { ... }'");
    }
    ControlDescription control = parseControlBody(s);
    if (!isArray) {
        window.controls.push_back(std::move(control));
        return;
    }
    if (s.arguments[1].text != "array") failAt(s.arguments[1].where, "expected 'array <first> <last>'");
    const int32_t first = integerArgument(s.arguments[2], "the first index");
    const int32_t last = integerArgument(s.arguments[3], "the last index");
    if (first < 0 || last < first || last - first > 1000) failAt(s.arguments[2].where, "expected 0 <= first <= last");
    for (int32_t i = first; i <= last; ++i) {
        ControlDescription member = control;
        std::erase_if(member.properties, [](const auto& p) { return p.first == "Index"; });
        member.properties.emplace_back("Index", std::to_string(i));
        window.controls.push_back(std::move(member));
    }
}

void parseBinding(const Statement& s, WindowDescription& window) {
    expectArguments(s, 7, "binding <source> \"<part>\" <target> \"<part>\" <binder class> \"<source text>\" \"<target text>\"");
    BindingDescription b;
    b.sourceControl = integerArgument(s.arguments[0], "the source control number");
    b.sourcePart = shiftJisText(expectKind(s.arguments[1], Token::Kind::String, "the source part"));
    b.targetControl = integerArgument(s.arguments[2], "the target control number");
    b.targetPart = shiftJisText(expectKind(s.arguments[3], Token::Kind::String, "the target part"));
    b.binderClass = {nameText(s.arguments[4], "the binder class"), s.arguments[4].where};
    b.sourcePartText = shiftJisText(expectKind(s.arguments[5], Token::Kind::String, "the source part text"));
    b.targetPartText = shiftJisText(expectKind(s.arguments[6], Token::Kind::String, "the target part text"));
    window.bindings.push_back(std::move(b));
}

}  // namespace

void parseWindow(const Statement& statement, ProjectDescription& project) {
    if (statement.arguments.size() != 1 || !statement.hasBlock) {
        failAt(statement.keyword.where, "expected 'window <layout symbol> { ... }'");
    }
    const Token& symbol = expectKind(statement.arguments[0], Token::Kind::Word, "the layout symbol");
    for (const WindowDescription& other : project.windows) {
        if (other.symbol.name == symbol.text) {
            failAt(symbol.where, "the layout " + symbol.text + " is given twice (first at " + other.symbol.where.text() + ")");
        }
    }
    WindowDescription window{{symbol.text, symbol.where}};
    for (const Statement& s : statement.block) {
        const std::string& keyword = s.keyword.text;
        if (keyword == "class") {
            expectArguments(s, 1, "class <window class>");
            window.windowClass = ClassReference{nameText(s.arguments[0], "the window class"), s.arguments[0].where};
        } else if (keyword == "property") {
            window.properties.push_back(parseProperty(s));
        } else if (keyword == "control") {
            parseControl(s, window);
        } else if (keyword == "binding") {
            parseBinding(s, window);
        } else {
            failAt(s.keyword.where, "unknown window statement '" + keyword + "' (known: class, property, control, binding)");
        }
    }
    if (!window.windowClass) failAt(statement.keyword.where, "the window " + symbol.text + " names no class");
    project.windows.push_back(std::move(window));
}

void appendControlSubclasses(ProjectDescription& project) {
    for (WindowDescription& window : project.windows) {
        for (ControlDescription& control : window.controls) {
            if (control.eventHandlers.empty()) continue;
            const int32_t super = classIndexOf(project, control.controlClass);
            ClassDescription subclass;
            subclass.where = control.controlClass.where;
            subclass.superclass = control.controlClass;
            subclass.size = control.size ? control.size : project.classes[static_cast<size_t>(super)].size;
            subclass.eventHandlers = control.eventHandlers;
            control.subclassIndex = static_cast<int32_t>(project.classes.size());
            project.classes.push_back(std::move(subclass));
        }
    }
}

}  // namespace imagetool
