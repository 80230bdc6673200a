#pragma once
#include <memory>
#include <string>
#include <vector>

#include "app/MessageTreeModel.h"
#include "model/MsgInfo.h"

// The classic message tree with each item's role as its tooltip ("CEID
// 4001 LotStarted"): the labels stay as the classic tree draws them.
class CRoleTreeModel : public CMessageTreeModel {
public:
    using CMessageTreeModel::CMessageTreeModel;

    // roles[r] is the text of the document's row r; pMsg maps a node to it.
    void SetRoles(std::shared_ptr<const CMsgInfo> pMsg, std::vector<std::string> roles);
    QVariant data(const QModelIndex& index, int nRole) const override;

private:
    std::shared_ptr<const CMsgInfo> m_pMsg;
    std::vector<std::string> m_roles;
};
