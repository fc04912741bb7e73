// Occlusion queries. Direct3D queries are pooled, so that objects that come
// and go (pedestrians, traffic) do not make new ones; answers are polled once
// per presented frame and never waited for.

#include "render/device/D3D9Video.h"

#include "render/device/OcclusionQuery.h"

#include <algorithm>

void D3D9Video::AcquireQuery(OcclusionQuery& query)
{
    if (query.query_) {
        return;
    }
    query.device_ = this;
    if (!freeQueries_.empty()) {
        query.query_ = freeQueries_.back();
        freeQueries_.pop_back();
    } else if (!device_ || FAILED(device_->CreateQuery(D3DQUERYTYPE_OCCLUSION, &query.query_))) {
        query.query_ = nullptr;
        return;
    }
    queries_.push_back(&query);
}

void D3D9Video::ReleaseQuery(OcclusionQuery& query)
{
    if (query.query_) {
        freeQueries_.push_back(query.query_);
        query.query_ = nullptr;
    }
    query.device_ = nullptr;
    std::erase(queries_, &query);
}

void D3D9Video::BeginQuery(OcclusionQuery& query)
{
    if (query.query_) {
        query.query_->Issue(D3DISSUE_BEGIN);
    }
}

void D3D9Video::EndQuery(OcclusionQuery& query)
{
    if (query.query_) {
        query.pending_ = true;
        query.query_->Issue(D3DISSUE_END);
    }
}

// Over a copy: an answer may make its object give its query back.
void D3D9Video::UpdateQueries(bool flush)
{
    for (OcclusionQuery* query : std::vector<OcclusionQuery*>(queries_)) {
        query->countdown_ = std::max(query->countdown_ - 1, 0);
        if (!query->pending_ || !query->query_) {
            continue;
        }
        DWORD pixels = 0;
        if (query->query_->GetData(&pixels, sizeof pixels, flush ? D3DGETDATA_FLUSH : 0) == S_OK) {
            query->pending_ = false;
            query->OnResult(pixels == 0);
        }
    }
}

void D3D9Video::ReleaseQueries()
{
    for (OcclusionQuery* query : queries_) {
        if (query->query_) {
            query->query_->Release();
            query->query_ = nullptr;
        }
    }
    for (IDirect3DQuery9* query : freeQueries_) {
        query->Release();
    }
    freeQueries_.clear();
}
