// Route map of the playing recording. The player drives the page through three functions:
//   delPos()                      clears the route
//   addPos(lat, lng)              appends a position and follows it
//   setAdminDistrictName(name)    shows the district of the current position
(function () {
  'use strict';

  // The zoom buttons are titled in the page's language, which the page gives on its map box.
  var box = document.getElementById('map');
  var map = L.map(box, { zoomControl: false, attributionControl: true, preferCanvas: true })
    .setView([36.5, 127.8], 7);
  L.control.zoom({
    zoomInTitle: box.dataset.zoomIn || 'Zoom in',
    zoomOutTitle: box.dataset.zoomOut || 'Zoom out'
  }).addTo(map);

  // Tiles come from OpenStreetMap; without a network the route still draws on the plain background.
  L.tileLayer('https://tile.openstreetmap.org/{z}/{x}/{y}.png', {
    maxZoom: 19,
    attribution: '&copy; <a href="https://www.openstreetmap.org/copyright">OpenStreetMap</a> contributors'
  }).addTo(map);

  var route = L.polyline([], { color: '#ED6E00', weight: 5, opacity: 0.9 }).addTo(map);
  var marker = null;
  var followZoom = 16;

  function positionMarker(latlng) {
    if (!marker) {
      marker = L.circleMarker(latlng, {
        radius: 8, color: '#ffffff', weight: 3, fillColor: '#ED6E00', fillOpacity: 1
      }).addTo(map);
    } else {
      marker.setLatLng(latlng);
    }
    marker.bringToFront();
  }

  window.delPos = function () {
    route.setLatLngs([]);
    if (marker) {
      map.removeLayer(marker);
      marker = null;
    }
  };

  window.addPos = function (lat, lng) {
    lat = Number(lat);
    lng = Number(lng);
    // A position off the globe is dropped: the map library would never return from a huge one.
    if (!isFinite(lat) || !isFinite(lng) || Math.abs(lat) > 90 || Math.abs(lng) > 180) return;
    var latlng = L.latLng(lat, lng);
    var first = route.getLatLngs().length === 0;
    route.addLatLng(latlng);
    positionMarker(latlng);
    if (first) {
      map.setView(latlng, Math.max(map.getZoom(), followZoom), { animate: false });
    } else {
      map.panTo(latlng, { animate: false });
    }
  };

  // The district name is shown as the player sends it, as the recording list shows it.
  var districtName = '';
  window.setAdminDistrictName = function (name) {
    var box = document.getElementById('district');
    if (!box) return;
    districtName = String(name === undefined || name === null ? '' : name);
    box.textContent = districtName;
    box.style.display = districtName ? 'block' : 'none';
  };

  // Read back by the player's tests: the route as [[lat, lng], ...].
  window.kavrinRoute = function () {
    return route.getLatLngs().map(function (p) { return [p.lat, p.lng]; });
  };
  // The district name as last received (empty on pages that show none).
  window.kavrinDistrict = function () {
    return districtName;
  };
})();
