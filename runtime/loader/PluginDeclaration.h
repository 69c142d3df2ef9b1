// The declarations plug-ins give their methods, property methods and events:
//   name [ "(" [ [ByRef|ByVal] name As type { "," ... } ] ")" ] [ As type ]
// with keywords in any letter case, and "Rem" or "//" ending the text. A type
// is Integer, String, Single, Double, Boolean, Color or a class name.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace runtime::plugins {

struct DeclaredParameter {
    std::string name;
    std::string type;
    bool byRef = false;
};

struct Declaration {
    std::string name;
    std::vector<DeclaredParameter> parameters;
    std::string resultType;  // empty: none
    // "a As Integer, b As String": the parameter list as the class records keep it.
    std::string parameterText() const;
};

struct DeclarationResult {
    bool ok = false;
    Declaration declaration;
    std::string message;  // "Invalid plugin method format: ..." or "Invalid return type: ..."
};

// Tells whether a type name that is not a basic type names a class.
using ClassNameTest = std::function<bool(std::string_view typeName)>;

DeclarationResult parseDeclaration(std::string_view text, const ClassNameTest& isClass);

// True for the basic types (case-insensitive).
bool isBasicTypeName(std::string_view typeName);

}  // namespace runtime::plugins
