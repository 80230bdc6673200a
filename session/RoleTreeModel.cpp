#include "session/RoleTreeModel.h"

void CRoleTreeModel::SetRoles(std::shared_ptr<const CMsgInfo> pMsg,
                              std::vector<std::string> roles) {
    m_pMsg = std::move(pMsg);
    m_roles = std::move(roles);
}

QVariant CRoleTreeModel::data(const QModelIndex& index, int nRole) const {
    if (nRole != Qt::ToolTipRole || !m_pMsg) return CMessageTreeModel::data(index, nRole);
    const int nNode = NodeOf(index);
    const int nRow = nNode < 0 ? -1 : RowOfCell(*m_pMsg, nNode);
    if (nRow < 0 || static_cast<std::size_t>(nRow) >= m_roles.size() ||
        m_roles[static_cast<std::size_t>(nRow)].empty())
        return CMessageTreeModel::data(index, nRole);
    const std::string& str = m_roles[static_cast<std::size_t>(nRow)];
    return QString::fromUtf8(str.data(), static_cast<qsizetype>(str.size()));
}
