#include "keyboard/function_action.h"

namespace kovantis {

FunctionActionNames::FunctionActionNames()
    : NameBuffers(
          {"FUNC_KEY_DESC1", "FUNC_KEY_DESC2", "FUNC_KEY_DESC3", "FUNC_KEY_DESC4", "FUNC_KEY_DESC5",
           "FUNC_KEY_DESC6", "FUNC_KEY_DESC7", "FUNC_KEY_DESC8", "FUNC_KEY_DESC9", "FUNC_KEY_DESC10",
           "FUNC_KEY_DESC11"},
          {u"Open", u"New", u"Undo", u"Save", u"Copy", u"Cut", u"Paste", u"Find", u"Select All", u"Zoom-",
           u"Zoom+"}) {}

} // namespace kovantis
