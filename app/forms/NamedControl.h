#pragma once
// A form's control whose object name is its member's name, so that the name is written once, where
// the form declares the control:
//
//     KM_CONTROL(QLineEdit, Edit_ERR_NS);
//
// declares a QLineEdit member Edit_ERR_NS whose objectName() is "Edit_ERR_NS" from the moment it
// exists (the name the tests, the binder and the field finder look controls up by).

#include <QString>

namespace km {

template <class Widget>
class NamedControl : public Widget {
  public:
    explicit NamedControl(const char* name) { this->setObjectName(QString::fromLatin1(name)); }
};

}  // namespace km

#define KM_CONTROL(Type, name)      \
    ::km::NamedControl<Type> name { \
#name                       \
    }
