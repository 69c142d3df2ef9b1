# The application's pure logic: compiled into the application image and, in
# the host build, into a library for the native tests and the host tools.
set(APP_LOGIC_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/AddressBookText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AlsImport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ByteText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MailMessage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Melody.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MessageCentres.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MessageEncoding.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ModemDialing.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Preferences.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SaveReplacement.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ShiftJis.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SmtpReplyReader.cpp)
