// class <Name> builtin          a class the runtime or a plug-in provides
// class <Name> { ... }          a class compiled into the image
// class "" { ... }              an anonymous compiled class
//
// The statements of a compiled class:
//   super <Class>               size <bytes, header included>
//   initialiser <function>      finaliser <function>
//   interface                   (the class is an interface)
//   implements <Interface>      (each interface declared earlier)
//   method <Name> [<function>]  (no function in an interface)
//   event <Name> <function> [hook <code>]
//   menu <MenuItemName> <function>
//   vtable <function or 0> ...
#include "ProjectDescription.h"
#include "TextEncoding.h"

namespace imagetool {
namespace {

SymbolReference symbolOf(const Token& token, std::string_view what) {
    expectKind(token, Token::Kind::Word, what);
    return {token.text, token.where};
}

ClassReference classReferenceOf(const Token& token) {
    if (token.kind == Token::Kind::String) return {shiftJisText(token), token.where};
    expectKind(token, Token::Kind::Word, "a class name");
    return {token.text, token.where};
}

std::string nameOf(const Token& token, std::string_view what) {
    if (token.kind == Token::Kind::String) return shiftJisText(token);
    return expectKind(token, Token::Kind::Word, what).text;
}

void parseHandler(const Statement& s, std::vector<ClassHandler>& list, bool withHook) {
    const std::string usage = s.keyword.text + " <name> <function>" + (withHook ? " [hook <code>]" : "");
    if (s.arguments.size() != 2 && !(withHook && s.arguments.size() == 4)) expectArguments(s, 2, usage);
    expectNoBlock(s);
    ClassHandler handler{nameOf(s.arguments[0], "the name"), symbolOf(s.arguments[1], "the handler")};
    if (s.arguments.size() == 4) {
        if (s.arguments[2].text != "hook") failAt(s.arguments[2].where, "expected '" + usage + "'");
        handler.hookCode = integerArgument(s.arguments[3], "the hook code");
    }
    list.push_back(std::move(handler));
}

void parseMember(const Statement& s, ClassDescription& cls) {
    const std::string& keyword = s.keyword.text;
    if (keyword == "super") {
        expectArguments(s, 1, "super <class>");
        cls.superclass = classReferenceOf(s.arguments[0]);
    } else if (keyword == "size") {
        expectArguments(s, 1, "size <bytes>");
        cls.size = integerArgument(s.arguments[0], "the size");
        if (cls.size < 16) failAt(s.arguments[0].where, "a class holds at least the 16-byte object header");
    } else if (keyword == "initialiser" || keyword == "finaliser") {
        expectArguments(s, 1, keyword + " <function>");
        (keyword == "initialiser" ? cls.initialiser : cls.finaliser) = symbolOf(s.arguments[0], "the " + keyword);
    } else if (keyword == "interface") {
        expectArguments(s, 0, "interface");
        cls.isInterface = true;
    } else if (keyword == "implements") {
        expectArguments(s, 1, "implements <interface>");
        cls.interfaces.push_back(classReferenceOf(s.arguments[0]));
    } else if (keyword == "method") {
        if (s.arguments.size() != 1) expectArguments(s, 2, "method <name> [<function>]");
        expectNoBlock(s);
        ClassMethod method{nameOf(s.arguments[0], "the method name"), std::nullopt};
        if (s.arguments.size() == 2) method.code = symbolOf(s.arguments[1], "the method's function");
        cls.methods.push_back(std::move(method));
    } else if (keyword == "event") {
        parseHandler(s, cls.eventHandlers, true);
    } else if (keyword == "menu") {
        parseHandler(s, cls.menuHandlers, false);
    } else if (keyword == "vtable") {
        expectNoBlock(s);
        for (const Token& entry : s.arguments) {
            if (entry.kind == Token::Kind::Integer && entry.integer == 0) cls.virtualTable.emplace_back();
            else cls.virtualTable.push_back(symbolOf(entry, "a virtual table entry (a function or 0)"));
        }
    } else {
        failAt(s.keyword.where, "unknown class statement '" + keyword +
                                    "' (known: super, size, initialiser, finaliser, interface, implements, method, "
                                    "event, menu, vtable)");
    }
}

void checkMethods(const ClassDescription& cls, const Statement& statement) {
    for (const ClassMethod& method : cls.methods) {
        if (cls.isInterface && method.code) failAt(method.code->where, "a method of an interface has no function");
        if (!cls.isInterface && !method.code) {
            failAt(statement.keyword.where, "the method " + method.name + " of " + cls.name + " needs a function");
        }
    }
}

}  // namespace

void parseClass(const Statement& statement, ProjectDescription& project) {
    if (statement.arguments.empty() || statement.arguments.size() > 2) {
        expectArguments(statement, 1, "class <name> { ... } or class <name> builtin");
    }
    ClassDescription cls;
    cls.name = nameOf(statement.arguments[0], "the class name");
    cls.where = statement.arguments[0].where;
    if (statement.arguments.size() == 2) {
        if (statement.arguments[1].text != "builtin" || statement.arguments[1].kind != Token::Kind::Word) {
            failAt(statement.arguments[1].where, "expected 'class <name> builtin'");
        }
        expectNoBlock(statement);
        if (cls.name.empty()) failAt(cls.where, "a builtin class needs a name");
        cls.builtin = true;
    } else {
        if (!statement.hasBlock) failAt(statement.keyword.where, "a compiled class needs a block: class <name> { ... }");
        for (const Statement& member : statement.block) parseMember(member, cls);
        checkMethods(cls, statement);
    }
    for (const ClassDescription& other : project.classes) {
        if (!cls.name.empty() && other.name == cls.name) {
            failAt(cls.where, "the class " + cls.name + " is declared twice (first at " + other.where.text() + ")");
        }
    }
    project.classes.push_back(std::move(cls));
}

}  // namespace imagetool
