#pragma once

#include <QByteArray>

// A small deck in WBXML: wml, card with id "a", p, "Hi ", EXT_I_2 "x",
// three ENDs. Its source is
//   <wml><card id="a"><p>Hi $(x)</p></card></wml>
// under the WML 1.1 document type.
inline const QByteArray kCompiledSample = QByteArray::fromHex("01046A00"
                                                              "7F"
                                                              "E7"
                                                              "55"
                                                              "036100"
                                                              "01"
                                                              "60"
                                                              "0348692000"
                                                              "427800"
                                                              "010101");
