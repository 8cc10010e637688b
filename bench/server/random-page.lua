-- wrk script: each request asks for a page at a random offset, so that hardly any answer comes from the
-- server's page cache and each one is read from the store.
math.randomseed(os.time())
request = function()
  local categories = {"Amateur", "Pro", "Legend"}
  local path = "/api/get-scores?gamename=Quintora&querytype=4&limit=15&flags=0&device=&category=" ..
    categories[math.random(1, 3)] .. "&offset=" .. math.random(0, 10000)
  return wrk.format("GET", path)
end
