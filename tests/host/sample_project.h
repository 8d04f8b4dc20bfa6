// A small project used by the host's tests: one map, one relief layer with a
// point, a label and a line style, and three objects.
#pragma once

inline constexpr const char* kSampleProject = R"json({
  "maps":   [ {"id":"M1", "name":"Карта", "layers":["L1", "L2"]} ],
  "layers": [ {"id":"L1", "name":"Рельеф",
               "tables":[ {"name":"A", "fields":["H","N"]} ],
               "styles":[ {"id":"SP", "name":"Точка", "kind":"point"},
                          {"id":"ST", "name":"Подпись", "kind":"text", "text":"{A.H}"},
                          {"id":"SL", "name":"Рельс", "kind":"line"} ] },
              {"id":"L2", "name":"Дороги", "tables":[],
               "styles":[ {"id":"SR", "name":"Дорога", "kind":"polygon"} ] } ],
  "objects":[ {"id":"O1", "layer":"L1",
               "shapes":[ {"style":"SP", "flag":true, "parts":[ [[100,200,0]] ]},
                          {"style":"ST", "parts":[ [[100.2,200.2,0],[100.2,200.7,0]] ]} ],
               "values":{"A.H":"100,3"} },
              {"id":"O2", "layer":"L1",
               "shapes":[ {"style":"SL", "parts":[ [[0,0,0],[0,50,1]] ]} ],
               "values":{"A.H":57.5, "A.N":"мост"} },
              {"id":"O3", "layer":"L2",
               "shapes":[ {"style":"SR", "parts":[ [[-10,-10,0],[-10,300,0],[300,300,0],[300,-10,0]] ]} ] } ],
  "selection":["O1"],
  "preferences":{"kavreleditor_pstyle":"SP"} })json";
