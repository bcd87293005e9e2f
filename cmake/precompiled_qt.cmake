# Qt's headers are most of what the compiler reads for each of our files. They are compiled once
# per build into precompiled headers that every target reuses: one of Qt Core for the targets
# without widgets and one of Qt Widgets. Qt Test stays out: its headers test a definition that
# Qt gives every test target differently (QT_TESTCASE_BUILDDIR), which would make GCC refuse
# the precompiled header.
option(PIGMORA_PCH "Precompile Qt's headers once for all targets" ON)

# True in `out` when `target` reaches `qt_target` through its link libraries.
function(_pigmora_links_to target qt_target out)
    set(seen "")
    set(queue ${target})
    set(found FALSE)
    while(queue)
        list(POP_FRONT queue current)
        if(current IN_LIST seen OR NOT TARGET ${current})
            continue()
        endif()
        list(APPEND seen ${current})
        get_target_property(aliased ${current} ALIASED_TARGET)
        if(aliased)
            set(current ${aliased})
        endif()
        if(current STREQUAL qt_target OR current STREQUAL "Qt6::${qt_target}")
            set(found TRUE)
            break()
        endif()
        get_target_property(type ${current} TYPE)
        set(links "")
        if(NOT type STREQUAL "INTERFACE_LIBRARY")
            get_target_property(direct ${current} LINK_LIBRARIES)
            if(direct)
                list(APPEND links ${direct})
            endif()
        endif()
        get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
        if(interface)
            list(APPEND links ${interface})
        endif()
        foreach(link IN LISTS links)
            string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
            list(APPEND queue ${link})
        endforeach()
    endwhile()
    set(${out} ${found} PARENT_SCOPE)
endfunction()

function(_pigmora_targets_in dir out)
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(sub IN LISTS subdirs)
        _pigmora_targets_in(${sub} more)
        list(APPEND targets ${more})
    endforeach()
    set(${out} ${targets} PARENT_SCOPE)
endfunction()

function(pigmora_precompile_qt)
    if(NOT PIGMORA_PCH)
        return()
    endif()
    set(kinds core widgets)
    set(core_libs Qt6::Core)
    set(core_headers <QCoreApplication> <QDateTime> <QDir> <QFile> <QFileInfo> <QHash> <QJsonArray>
        <QJsonDocument> <QJsonObject> <QList> <QLocale> <QObject> <QProcess> <QString>
        <QStringList> <QTemporaryDir> <QTimer> <QVariant> <algorithm> <array> <functional> <memory>
        <optional> <vector>)
    set(widgets_libs Qt6::Widgets)
    # The headers most of our files include, and the ones they pull in.
    set(widgets_headers <QAbstractItemModel> <QAccessible> <QAction> <QApplication> <QBoxLayout>
        <QColor> <QComboBox> <QCoreApplication> <QDateTime> <QDialog> <QDir> <QEvent> <QFile>
        <QFileInfo> <QFont> <QFrame> <QGridLayout> <QGuiApplication> <QHash> <QHeaderView> <QImage>
        <QJsonArray> <QJsonDocument> <QJsonObject> <QKeyEvent> <QLabel> <QLineEdit> <QList>
        <QLocale> <QMainWindow> <QMenu> <QMenuBar> <QMessageBox> <QObject> <QPainter> <QPalette>
        <QProcess> <QPushButton> <QScreen> <QSlider> <QString> <QStringList> <QTableView>
        <QTemporaryDir> <QTimer> <QVariant> <QWidget> <algorithm> <array> <functional> <memory>
        <optional> <vector>)
    foreach(kind IN LISTS kinds)
        add_library(pigmora_pch_${kind} STATIC ${PROJECT_SOURCE_DIR}/cmake/precompiled_qt.cpp)
        target_link_libraries(pigmora_pch_${kind} PRIVATE ${${kind}_libs})
        target_precompile_headers(pigmora_pch_${kind} PRIVATE ${${kind}_headers})
    endforeach()

    _pigmora_targets_in(${PROJECT_SOURCE_DIR} targets)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(NOT type MATCHES "^(STATIC_LIBRARY|EXECUTABLE)$" OR target MATCHES "^pigmora_pch_")
            continue()
        endif()
        _pigmora_links_to(${target} Widgets with_widgets)
        _pigmora_links_to(${target} Core with_core)
        if(with_widgets)
            set(kind widgets)
        elseif(with_core)
            set(kind core)
        else()
            continue()
        endif()
        target_precompile_headers(${target} REUSE_FROM pigmora_pch_${kind})
    endforeach()
endfunction()
